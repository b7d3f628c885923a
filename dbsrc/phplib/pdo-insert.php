<?php
// PDO 插入数据并取得自增 ID
$stmt = db()->prepare('INSERT INTO posts (title, body, author_id, created_at) VALUES (:title, :body, :author, NOW())');
$stmt->execute([
    'title'  => $title,
    'body'   => $body,
    'author' => $authorId,
]);
$postId = (int) db()->lastInsertId();

// 更新并检查影响的行数
$stmt = db()->prepare('UPDATE posts SET title = ? WHERE id = ? AND author_id = ?');
$stmt->execute([$title, $postId, $authorId]);
if ($stmt->rowCount() === 0) {
    // 没有匹配的行，或者值没有变化
}
