<?php
// 重定向：只允许站内地址，防止开放重定向
function redirect(string $to, int $status = 302): never
{
    // 只接受以单个 / 开头的相对地址，拒绝 //evil.com 和 http://evil.com
    if (!preg_match('#^/(?![/\\\\])#', $to)) {
        $to = '/';
    }
    header('Location: ' . str_replace(["\r", "\n"], '', $to), true, $status);
    exit;
}

redirect($_GET['next'] ?? '/');
