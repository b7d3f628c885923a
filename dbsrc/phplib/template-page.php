<?php
/** 页面模板（templates/post.php）：每个输出都经过转义 */
$e = static fn(mixed $v): string => htmlspecialchars((string) $v, ENT_QUOTES | ENT_SUBSTITUTE, 'UTF-8');
$title ??= '';
$comments ??= [];
?>
<!DOCTYPE html>
<html lang="zh-CN">
<head>
  <meta charset="utf-8">
  <meta name="viewport" content="width=device-width, initial-scale=1">
  <title><?= $e($title) ?></title>
</head>
<body>
  <h1><?= $e($title) ?></h1>
  <?php if ($comments === []): ?>
    <p>还没有评论。</p>
  <?php else: ?>
    <ul>
      <?php foreach ($comments as $comment): ?>
        <li><strong><?= $e($comment['author']) ?></strong>：<?= nl2br($e($comment['body'])) ?></li>
      <?php endforeach; ?>
    </ul>
  <?php endif; ?>
</body>
</html>
