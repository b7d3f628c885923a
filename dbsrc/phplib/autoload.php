<?php
// 类自动加载（PSR-4）：App\Models\User => src/Models/User.php
spl_autoload_register(static function (string $class): void {
    $prefix = 'App\\';
    $baseDir = __DIR__ . '/src/';
    if (strncmp($class, $prefix, strlen($prefix)) !== 0) {
        return;  // 交给其他自动加载器
    }
    $relative = substr($class, strlen($prefix));
    $file = $baseDir . str_replace('\\', '/', $relative) . '.php';
    if (is_file($file)) {
        require $file;
    }
});

// 使用 Composer 时只需要：require __DIR__ . '/vendor/autoload.php';
