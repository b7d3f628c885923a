<?php
// 渲染 PHP 模板：变量隔离在函数作用域里，输出缓冲取回结果
function render(string $template, array $vars = []): string
{
    $file = __DIR__ . '/templates/' . basename($template) . '.php';
    if (!is_file($file)) {
        throw new RuntimeException('模板不存在：' . $template);
    }
    extract($vars, EXTR_SKIP);
    ob_start();
    try {
        include $file;
        return (string) ob_get_clean();
    } catch (Throwable $e) {
        ob_end_clean();
        throw $e;
    }
}

// echo render('post', ['title' => $post['title'], 'comments' => $comments]);
