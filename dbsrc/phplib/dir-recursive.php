<?php
// 递归遍历目录：找出指定扩展名的全部文件
function find_files(string $root, array $extensions = ['php']): array
{
    $found = [];
    $iterator = new RecursiveIteratorIterator(
        new RecursiveDirectoryIterator($root, FilesystemIterator::SKIP_DOTS),
        RecursiveIteratorIterator::LEAVES_ONLY
    );
    foreach ($iterator as $file) {
        /** @var SplFileInfo $file */
        if ($file->isFile() && in_array(strtolower($file->getExtension()), $extensions, true)) {
            $found[] = $file->getPathname();
        }
    }
    sort($found);
    return $found;
}

// 用 glob 找当前目录下的图片
$images = glob(__DIR__ . '/images/*.{jpg,jpeg,png,gif}', GLOB_BRACE) ?: [];
