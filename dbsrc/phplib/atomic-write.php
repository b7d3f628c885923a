<?php
// 安全写入文件：先写临时文件再改名，写到一半失败也不会损坏原文件
function write_file_atomic(string $path, string $contents): void
{
    $dir = dirname($path);
    $temp = tempnam($dir, '.tmp');
    if ($temp === false) {
        throw new RuntimeException('无法在 ' . $dir . ' 创建临时文件');
    }
    try {
        if (file_put_contents($temp, $contents) !== strlen($contents)) {
            throw new RuntimeException('写入失败');
        }
        chmod($temp, 0644);
        if (!rename($temp, $path)) {
            throw new RuntimeException('无法替换 ' . $path);
        }
    } catch (Throwable $e) {
        @unlink($temp);
        throw $e;
    }
}
