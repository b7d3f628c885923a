<?php
// HTML 输出转义：所有来自用户的数据输出前都要转义
function e(?string $value): string
{
    return htmlspecialchars($value ?? '', ENT_QUOTES | ENT_SUBSTITUTE | ENT_HTML5, 'UTF-8');
}

// 放进 JavaScript 的数据用 json_encode，并转义 < > & ' "
function js_value(mixed $value): string
{
    return json_encode($value, JSON_HEX_TAG | JSON_HEX_AMP | JSON_HEX_APOS | JSON_HEX_QUOT | JSON_THROW_ON_ERROR);
}

// 用法：
// echo '<a href="/user?id=' . urlencode((string) $id) . '">' . e($name) . '</a>';
// echo '<script>const user = ' . js_value($user) . ';</script>';
