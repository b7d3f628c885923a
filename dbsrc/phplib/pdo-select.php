<?php
// PDO 预处理查询：参数绑定，杜绝 SQL 注入
$stmt = db()->prepare('SELECT id, name, email FROM users WHERE status = :status AND created_at >= :since ORDER BY id DESC LIMIT 20');
$stmt->execute([
    'status' => 'active',
    'since'  => date('Y-m-d', strtotime('-30 days')),
]);
foreach ($stmt->fetchAll() as $row) {
    printf("%d\t%s\t%s\n", $row['id'], $row['name'], $row['email']);
}

// 只取一行
$stmt = db()->prepare('SELECT * FROM users WHERE id = ?');
$stmt->execute([(int) ($_GET['id'] ?? 0)]);
$user = $stmt->fetch();
if ($user === false) {
    http_response_code(404);
    exit('用户不存在');
}
