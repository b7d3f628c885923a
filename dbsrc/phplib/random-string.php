<?php
// 生成安全的随机字符串：令牌、验证码、邀请码
function random_token(int $bytes = 32): string
{
    return bin2hex(random_bytes($bytes));  // 长度为 $bytes * 2 的十六进制串
}

function random_code(int $length = 6, string $alphabet = '23456789ABCDEFGHJKLMNPQRSTUVWXYZ'): string
{
    $max = strlen($alphabet) - 1;
    $code = '';
    for ($i = 0; $i < $length; $i++) {
        $code .= $alphabet[random_int(0, $max)];
    }
    return $code;
}

// URL 里可用的令牌
$urlToken = rtrim(strtr(base64_encode(random_bytes(24)), '+/', '-_'), '=');
