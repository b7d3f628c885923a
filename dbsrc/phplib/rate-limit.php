<?php
// 简单限流：同一会话在时间窗口内最多请求 N 次（例如登录、发送验证码）
function rate_limit(string $action, int $max = 5, int $window = 60): bool
{
    if (session_status() !== PHP_SESSION_ACTIVE) {
        session_start();
    }
    $now = time();
    $hits = array_filter(
        $_SESSION['rate'][$action] ?? [],
        static fn(int $t): bool => $t > $now - $window
    );
    if (count($hits) >= $max) {
        $_SESSION['rate'][$action] = $hits;
        return false;
    }
    $hits[] = $now;
    $_SESSION['rate'][$action] = array_values($hits);
    return true;
}

if (!rate_limit('login', 5, 300)) {
    http_response_code(429);
    header('Retry-After: 300');
    exit('尝试次数过多，请 5 分钟后再试');
}
