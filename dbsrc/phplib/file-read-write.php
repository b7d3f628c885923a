<?php
// 读写文本文件：整体读写、追加、按行读取
$path = __DIR__ . '/data/notes.txt';

// 写入（加锁），返回写入的字节数
if (file_put_contents($path, "第一行\n", LOCK_EX) === false) {
    throw new RuntimeException('无法写入 ' . $path);
}
// 追加
file_put_contents($path, "第二行\n", FILE_APPEND | LOCK_EX);

// 整体读取
$text = file_get_contents($path);
if ($text === false) {
    throw new RuntimeException('无法读取 ' . $path);
}

// 按行读取大文件，不一次载入内存
$file = new SplFileObject($path, 'r');
foreach ($file as $number => $line) {
    $line = rtrim($line, "\r\n");
    if ($line === '') {
        continue;
    }
    echo ($number + 1) . ': ' . $line . "\n";
}
