<?php
// JSON API 响应：统一的成功与错误格式
function json_response(mixed $data, int $status = 200): never
{
    http_response_code($status);
    header('Content-Type: application/json; charset=utf-8');
    header('Cache-Control: no-store');
    echo json_encode($data, JSON_UNESCAPED_UNICODE | JSON_UNESCAPED_SLASHES | JSON_THROW_ON_ERROR);
    exit;
}

function json_error(string $message, int $status = 400, array $details = []): never
{
    json_response(['ok' => false, 'error' => $message, 'details' => $details], $status);
}

// json_response(['ok' => true, 'data' => $items]);
// json_error('未找到', 404);
