<?php
// 获取客户端 IP：只在请求来自受信任的反向代理时才看 X-Forwarded-For
function client_ip(array $trustedProxies = ['127.0.0.1', '::1']): string
{
    $remote = $_SERVER['REMOTE_ADDR'] ?? '';
    if (!in_array($remote, $trustedProxies, true) || empty($_SERVER['HTTP_X_FORWARDED_FOR'])) {
        return $remote;
    }
    // 从右往左取第一个不是代理的地址
    $chain = array_reverse(array_map('trim', explode(',', $_SERVER['HTTP_X_FORWARDED_FOR'])));
    foreach ($chain as $ip) {
        if (filter_var($ip, FILTER_VALIDATE_IP) !== false && !in_array($ip, $trustedProxies, true)) {
            return $ip;
        }
    }
    return $remote;
}
