<?php
// HTTP 基本认证：保护后台或测试站点（务必配合 HTTPS）
function require_basic_auth(string $user, string $passwordHash, string $realm = '管理后台'): void
{
    $givenUser = $_SERVER['PHP_AUTH_USER'] ?? '';
    $givenPass = $_SERVER['PHP_AUTH_PW'] ?? '';
    if (hash_equals($user, $givenUser) && password_verify($givenPass, $passwordHash)) {
        return;
    }
    header('WWW-Authenticate: Basic realm="' . addcslashes($realm, '"\\') . '", charset="UTF-8"');
    http_response_code(401);
    exit('需要登录');
}

// 哈希用 password_hash('密码', PASSWORD_DEFAULT) 预先生成
require_basic_auth('admin', '$2y$10$abcdefghijklmnopqrstuuJ0nQ1sI5lYy7D3B8nTqf3yH3xv8oPq');
