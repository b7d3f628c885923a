<?php
// 目录列表：列出文件名、大小和修改时间，目录在前
function list_dir(string $dir): array
{
    $items = [];
    foreach (new DirectoryIterator($dir) as $entry) {
        if ($entry->isDot()) {
            continue;
        }
        $items[] = [
            'name'  => $entry->getFilename(),
            'dir'   => $entry->isDir(),
            'size'  => $entry->isFile() ? $entry->getSize() : 0,
            'mtime' => date('Y-m-d H:i', $entry->getMTime()),
        ];
    }
    usort($items, static fn(array $a, array $b): int => [$b['dir'], $a['name']] <=> [$a['dir'], $b['name']]);
    return $items;
}

foreach (list_dir(__DIR__) as $item) {
    echo ($item['dir'] ? '[目录] ' : '') . $item['name'] . "\t" . $item['size'] . "\t" . $item['mtime'] . "\n";
}
