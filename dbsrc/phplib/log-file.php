<?php
// 写日志文件：带时间和级别，一行一条，上下文写成 JSON
function app_log(string $level, string $message, array $context = []): void
{
    $line = sprintf(
        "[%s] %s: %s%s\n",
        date('Y-m-d H:i:s'),
        strtoupper($level),
        str_replace(["\r", "\n"], ' ', $message),
        $context ? ' ' . json_encode($context, JSON_UNESCAPED_UNICODE | JSON_UNESCAPED_SLASHES) : ''
    );
    $file = __DIR__ . '/logs/app-' . date('Y-m-d') . '.log';
    if (!is_dir(dirname($file))) {
        mkdir(dirname($file), 0775, true);
    }
    file_put_contents($file, $line, FILE_APPEND | LOCK_EX);
}

app_log('info', '用户登录', ['user_id' => 42, 'ip' => $_SERVER['REMOTE_ADDR'] ?? '']);
