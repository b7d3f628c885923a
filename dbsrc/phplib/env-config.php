<?php
// 读取 .env 配置文件：KEY=VALUE，忽略注释和空行
function load_env(string $path): array
{
    $values = [];
    if (!is_readable($path)) {
        return $values;
    }
    foreach (file($path, FILE_IGNORE_NEW_LINES | FILE_SKIP_EMPTY_LINES) as $line) {
        $line = trim($line);
        if ($line === '' || str_starts_with($line, '#') || !str_contains($line, '=')) {
            continue;
        }
        [$key, $value] = array_map('trim', explode('=', $line, 2));
        // 去掉成对的引号
        if (preg_match('/^([\'"])(.*)\1$/', $value, $m)) {
            $value = $m[2];
        }
        $values[$key] = $value;
    }
    return $values;
}

$env = load_env(__DIR__ . '/.env');
$dbHost = $env['DB_HOST'] ?? getenv('DB_HOST') ?: '127.0.0.1';
