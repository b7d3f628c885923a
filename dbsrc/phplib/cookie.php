<?php
// 设置、读取与删除 Cookie
setcookie('theme', 'dark', [
    'expires'  => time() + 30 * 24 * 3600,  // 30 天
    'path'     => '/',
    'secure'   => true,
    'httponly' => true,
    'samesite' => 'Lax',
]);

// 读取（Cookie 来自客户端，要当作不可信的输入）
$theme = $_COOKIE['theme'] ?? 'light';
if (!in_array($theme, ['light', 'dark'], true)) {
    $theme = 'light';
}

// 删除：设置为过去的时间
setcookie('theme', '', ['expires' => time() - 3600, 'path' => '/']);
