<?php
// 截断中文字符串：按字符而不是字节截断，超出时加省略号
function str_limit(string $text, int $length = 50, string $end = '…'): string
{
    $text = trim(preg_replace('/\s+/u', ' ', strip_tags($text)) ?? '');
    if (mb_strlen($text, 'UTF-8') <= $length) {
        return $text;
    }
    return rtrim(mb_substr($text, 0, $length, 'UTF-8')) . $end;
}

// 按显示宽度截断（中文算两个宽度）
$short = mb_strimwidth('这是一段很长很长的中文标题文字', 0, 20, '...', 'UTF-8');
