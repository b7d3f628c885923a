<?php
// 文件上传：检查错误、大小和真实类型，用随机文件名保存
function save_upload(array $file, string $targetDir, int $maxBytes = 2 * 1024 * 1024): string
{
    if (!isset($file['error']) || is_array($file['error'])) {
        throw new RuntimeException('参数无效');
    }
    if ($file['error'] !== UPLOAD_ERR_OK) {
        throw new RuntimeException($file['error'] === UPLOAD_ERR_INI_SIZE || $file['error'] === UPLOAD_ERR_FORM_SIZE
            ? '文件太大' : '上传失败，错误码 ' . $file['error']);
    }
    if ($file['size'] > $maxBytes) {
        throw new RuntimeException('文件太大');
    }
    $allowed = ['image/jpeg' => 'jpg', 'image/png' => 'png', 'image/gif' => 'gif', 'application/pdf' => 'pdf'];
    $mime = (new finfo(FILEINFO_MIME_TYPE))->file($file['tmp_name']);
    if (!isset($allowed[$mime])) {
        throw new RuntimeException('不允许的文件类型');
    }
    $name = bin2hex(random_bytes(16)) . '.' . $allowed[$mime];
    if (!move_uploaded_file($file['tmp_name'], rtrim($targetDir, '/') . '/' . $name)) {
        throw new RuntimeException('无法保存文件');
    }
    return $name;
}

// <form method="post" enctype="multipart/form-data"><input type="file" name="upload"></form>
try {
    $saved = save_upload($_FILES['upload'] ?? [], __DIR__ . '/uploads');
} catch (RuntimeException $e) {
    $error = $e->getMessage();
}
