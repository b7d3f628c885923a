<?php
// 用户登录：校验密码，成功后更换会话 ID
function login(PDO $pdo, string $email, string $password): bool
{
    $stmt = $pdo->prepare('SELECT id, name, password_hash FROM users WHERE email = ? LIMIT 1');
    $stmt->execute([$email]);
    $user = $stmt->fetch(PDO::FETCH_ASSOC);

    // 用户不存在时也做一次校验，使响应时间相近
    $hash = $user['password_hash'] ?? '$2y$10$usesomesillystringfore7hnbRJHxXVLeakoG8K30oukPsA.ztMG';
    if (!password_verify($password, $hash) || $user === false) {
        return false;
    }
    session_regenerate_id(true);
    $_SESSION['user_id'] = (int) $user['id'];
    $_SESSION['user_name'] = $user['name'];
    $_SESSION['login_at'] = time();
    return true;
}

if ($_SERVER['REQUEST_METHOD'] === 'POST') {
    if (login(db(), (string) ($_POST['email'] ?? ''), (string) ($_POST['password'] ?? ''))) {
        header('Location: /dashboard.php', true, 303);
        exit;
    }
    $error = '邮箱或密码错误';
}
