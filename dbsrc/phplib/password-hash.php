<?php
// 密码哈希与校验：password_hash / password_verify，必要时自动升级哈希
$hash = password_hash($plainPassword, PASSWORD_DEFAULT);
// 保存 $hash 到 users.password_hash（VARCHAR(255)）

function check_password(PDO $pdo, array $user, string $plain): bool
{
    if (!password_verify($plain, $user['password_hash'])) {
        return false;
    }
    if (password_needs_rehash($user['password_hash'], PASSWORD_DEFAULT)) {
        $stmt = $pdo->prepare('UPDATE users SET password_hash = ? WHERE id = ?');
        $stmt->execute([password_hash($plain, PASSWORD_DEFAULT), $user['id']]);
    }
    return true;
}
