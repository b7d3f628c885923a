<?php
// 受保护页面：未登录则跳转到登录页，并记住原来的地址
function require_login(): int
{
    if (session_status() !== PHP_SESSION_ACTIVE) {
        session_start();
    }
    if (empty($_SESSION['user_id'])) {
        $back = $_SERVER['REQUEST_URI'] ?? '/';
        header('Location: /login.php?next=' . rawurlencode($back), true, 302);
        exit;
    }
    return (int) $_SESSION['user_id'];
}

$userId = require_login();
