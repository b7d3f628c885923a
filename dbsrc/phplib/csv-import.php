<?php
// CSV 导入：第一行作为列名，逐行读取为关联数组
function read_csv(string $path): Generator
{
    $fh = fopen($path, 'r');
    if ($fh === false) {
        throw new RuntimeException('无法打开文件：' . $path);
    }
    try {
        $header = fgetcsv($fh);
        if ($header === false) {
            return;
        }
        // 去掉可能存在的 UTF-8 BOM
        $header[0] = preg_replace('/^\xEF\xBB\xBF/', '', (string) $header[0]);
        $line = 1;
        while (($row = fgetcsv($fh)) !== false) {
            $line++;
            if ($row === [null]) {
                continue;  // 空行
            }
            if (count($row) !== count($header)) {
                throw new RuntimeException("第 {$line} 行的列数不对");
            }
            yield array_combine($header, $row);
        }
    } finally {
        fclose($fh);
    }
}

foreach (read_csv(__DIR__ . '/users.csv') as $record) {
    // $record['姓名'], $record['邮箱'] ...
}
