<?php
// 读取 JSON 请求体
function json_input(): array
{
    $type = $_SERVER['CONTENT_TYPE'] ?? '';
    if (stripos($type, 'application/json') !== 0) {
        throw new RuntimeException('需要 application/json');
    }
    $raw = file_get_contents('php://input');
    try {
        $data = json_decode($raw === false ? '' : $raw, true, 64, JSON_THROW_ON_ERROR);
    } catch (JsonException $e) {
        throw new RuntimeException('JSON 格式错误：' . $e->getMessage(), 0, $e);
    }
    if (!is_array($data)) {
        throw new RuntimeException('JSON 顶层必须是对象或数组');
    }
    return $data;
}
