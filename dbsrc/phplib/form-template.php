<?php
// 表单模板：回填已填写的值并显示错误（配合“表单处理与验证”）
$h = static fn(?string $v): string => htmlspecialchars($v ?? '', ENT_QUOTES, 'UTF-8');
$data ??= ['name' => '', 'email' => ''];
$errors ??= [];
?>
<form method="post" action="">
  <input type="hidden" name="csrf_token" value="<?= $h($_SESSION['csrf_token'] ?? '') ?>">
  <p>
    <label>姓名 <input type="text" name="name" value="<?= $h($data['name']) ?>" maxlength="50" required></label>
    <?php if (isset($errors['name'])): ?><span class="error"><?= $h($errors['name']) ?></span><?php endif; ?>
  </p>
  <p>
    <label>邮箱 <input type="email" name="email" value="<?= $h($data['email']) ?>" required></label>
    <?php if (isset($errors['email'])): ?><span class="error"><?= $h($errors['email']) ?></span><?php endif; ?>
  </p>
  <button type="submit">提交</button>
</form>
