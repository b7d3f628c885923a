<?php
// 表单处理与验证：收集错误，验证通过后再保存
$errors = [];
$data = ['name' => '', 'email' => '', 'age' => ''];

if ($_SERVER['REQUEST_METHOD'] === 'POST') {
    $data['name']  = trim((string) ($_POST['name'] ?? ''));
    $data['email'] = trim((string) ($_POST['email'] ?? ''));
    $data['age']   = trim((string) ($_POST['age'] ?? ''));

    if ($data['name'] === '' || mb_strlen($data['name']) > 50) {
        $errors['name'] = '请填写姓名（不超过 50 个字）';
    }
    if (filter_var($data['email'], FILTER_VALIDATE_EMAIL) === false) {
        $errors['email'] = '邮箱格式不正确';
    }
    $age = filter_var($data['age'], FILTER_VALIDATE_INT, ['options' => ['min_range' => 1, 'max_range' => 150]]);
    if ($age === false) {
        $errors['age'] = '年龄应为 1 到 150 之间的整数';
    }

    if (!$errors) {
        // 保存数据……然后重定向，避免刷新时重复提交
        header('Location: /thanks.php', true, 303);
        exit;
    }
}
