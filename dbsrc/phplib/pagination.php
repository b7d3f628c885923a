<?php
// 分页：计算偏移量并输出页码链接
$perPage = 20;
$total = (int) db()->query('SELECT COUNT(*) FROM posts')->fetchColumn();
$pages = max(1, (int) ceil($total / $perPage));
$page = min($pages, max(1, (int) ($_GET['page'] ?? 1)));
$offset = ($page - 1) * $perPage;

$stmt = db()->prepare('SELECT id, title FROM posts ORDER BY id DESC LIMIT :limit OFFSET :offset');
$stmt->bindValue('limit', $perPage, PDO::PARAM_INT);
$stmt->bindValue('offset', $offset, PDO::PARAM_INT);
$stmt->execute();
$posts = $stmt->fetchAll();

function page_links(int $page, int $pages, int $window = 2): string
{
    $html = '';
    for ($i = max(1, $page - $window); $i <= min($pages, $page + $window); $i++) {
        $html .= $i === $page
            ? '<strong>' . $i . '</strong> '
            : '<a href="?page=' . $i . '">' . $i . '</a> ';
    }
    if ($page > 1) {
        $html = '<a href="?page=' . ($page - 1) . '">上一页</a> ' . $html;
    }
    if ($page < $pages) {
        $html .= '<a href="?page=' . ($page + 1) . '">下一页</a>';
    }
    return $html;
}
