<?php
// CSV 导出下载：带 BOM，Excel 打开中文不乱码
function csv_download(string $filename, array $header, iterable $rows): never
{
    header('Content-Type: text/csv; charset=utf-8');
    header("Content-Disposition: attachment; filename*=UTF-8''" . rawurlencode($filename));
    $out = fopen('php://output', 'w');
    fwrite($out, "\xEF\xBB\xBF");
    fputcsv($out, $header);
    foreach ($rows as $row) {
        // 以 = + - @ 开头的单元格会被表格软件当成公式，加一个单引号
        $row = array_map(static fn($v) => is_string($v) && preg_match('/^[=+\-@]/', $v) ? "'" . $v : $v, $row);
        fputcsv($out, $row);
    }
    fclose($out);
    exit;
}

// csv_download('用户列表.csv', ['ID', '姓名', '邮箱'], db()->query('SELECT id, name, email FROM users', PDO::FETCH_NUM));
