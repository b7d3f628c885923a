<?php
// GD 生成缩略图：按比例缩放，保存为 JPEG
function make_thumbnail(string $source, string $target, int $maxWidth = 200, int $maxHeight = 200): void
{
    $info = getimagesize($source);
    if ($info === false) {
        throw new RuntimeException('不是图片文件');
    }
    [$width, $height] = $info;
    $image = match ($info[2]) {
        IMAGETYPE_JPEG => imagecreatefromjpeg($source),
        IMAGETYPE_PNG  => imagecreatefrompng($source),
        IMAGETYPE_GIF  => imagecreatefromgif($source),
        IMAGETYPE_WEBP => imagecreatefromwebp($source),
        default        => throw new RuntimeException('不支持的图片格式'),
    };
    $scale = min($maxWidth / $width, $maxHeight / $height, 1);
    $newWidth = max(1, (int) round($width * $scale));
    $newHeight = max(1, (int) round($height * $scale));

    $thumb = imagecreatetruecolor($newWidth, $newHeight);
    // 透明背景填成白色
    imagefill($thumb, 0, 0, imagecolorallocate($thumb, 255, 255, 255));
    imagecopyresampled($thumb, $image, 0, 0, 0, 0, $newWidth, $newHeight, $width, $height);
    if (!imagejpeg($thumb, $target, 85)) {
        throw new RuntimeException('无法保存缩略图');
    }
    imagedestroy($image);
    imagedestroy($thumb);
}
