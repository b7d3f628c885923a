<?php
// 文件下载：只允许下载指定目录里的文件，中文文件名不乱码
function send_download(string $baseDir, string $name): never
{
    $base = realpath($baseDir);
    $path = realpath($baseDir . '/' . $name);
    // realpath 解析掉 ../，再确认仍在允许的目录下
    if ($base === false || $path === false || !str_starts_with($path, $base . DIRECTORY_SEPARATOR) || !is_file($path)) {
        http_response_code(404);
        exit('文件不存在');
    }
    $filename = basename($path);
    header('Content-Type: application/octet-stream');
    header('Content-Length: ' . filesize($path));
    header('Content-Disposition: attachment; filename="' . rawurlencode($filename) . '"; filename*=UTF-8\'\'' . rawurlencode($filename));
    header('X-Content-Type-Options: nosniff');
    readfile($path);
    exit;
}

send_download(__DIR__ . '/files', (string) ($_GET['file'] ?? ''));
