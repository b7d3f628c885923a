<?php
// 简单文件缓存：过期时间、按键存取，取不到时调用回调生成
function cache_remember(string $key, int $ttl, callable $produce): mixed
{
    $dir = sys_get_temp_dir() . '/app-cache';
    if (!is_dir($dir)) {
        mkdir($dir, 0700, true);
    }
    $file = $dir . '/' . sha1($key) . '.cache';
    if (is_file($file) && filemtime($file) + $ttl > time()) {
        $data = unserialize((string) file_get_contents($file), ['allowed_classes' => false]);
        if ($data !== false) {
            return $data;
        }
    }
    $value = $produce();
    $temp = $file . '.' . getmypid();
    file_put_contents($temp, serialize($value));
    rename($temp, $file);
    return $value;
}

$hotPosts = cache_remember('hot-posts', 300, fn() => db()->query('SELECT id, title FROM posts ORDER BY views DESC LIMIT 10')->fetchAll());
