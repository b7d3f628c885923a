<?php
// 常用输入验证：邮箱、URL、整数范围、手机号、日期
$email = filter_input(INPUT_POST, 'email', FILTER_VALIDATE_EMAIL);
$url = filter_input(INPUT_POST, 'website', FILTER_VALIDATE_URL);
$page = filter_input(INPUT_GET, 'page', FILTER_VALIDATE_INT, ['options' => ['default' => 1, 'min_range' => 1]]);
$agree = filter_input(INPUT_POST, 'agree', FILTER_VALIDATE_BOOL, FILTER_NULL_ON_FAILURE);

// 只接受 http 和 https 地址
function is_web_url(string $url): bool
{
    return filter_var($url, FILTER_VALIDATE_URL) !== false
        && in_array(parse_url($url, PHP_URL_SCHEME), ['http', 'https'], true);
}

// 中国大陆手机号
function is_mobile(string $phone): bool
{
    return preg_match('/^1[3-9]\d{9}$/', $phone) === 1;
}

// 严格的日期格式 Y-m-d
function is_date(string $value): bool
{
    $d = DateTimeImmutable::createFromFormat('!Y-m-d', $value);
    return $d !== false && $d->format('Y-m-d') === $value;
}
