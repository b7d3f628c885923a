<?php
// 二维数组排序：按一个或多个字段，中文按拼音（需要 intl 扩展）
$users = [
    ['name' => '张三', 'age' => 30, 'score' => 88],
    ['name' => '李四', 'age' => 25, 'score' => 95],
    ['name' => '王五', 'age' => 30, 'score' => 70],
];

// 先按年龄升序，再按分数降序
usort($users, static fn(array $a, array $b): int => [$a['age'], $b['score']] <=> [$b['age'], $a['score']]);

// 取出一列、按某列建立索引
$names = array_column($users, 'name');
$byName = array_column($users, null, 'name');

// 中文按拼音排序
if (class_exists(Collator::class)) {
    $collator = new Collator('zh_CN');
    usort($users, static fn(array $a, array $b): int => (int) $collator->compare($a['name'], $b['name']));
}
