<?php
// 日期时间格式化：时区、格式化、解析与加减
date_default_timezone_set('Asia/Shanghai');

$now = new DateTimeImmutable();
echo $now->format('Y-m-d H:i:s'), "\n";          // 2024-05-01 14:30:00
echo $now->format('Y年n月j日 H:i'), "\n";        // 2024年5月1日 14:30
echo $now->format(DATE_ATOM), "\n";              // 2024-05-01T14:30:00+08:00

$weekdays = ['日', '一', '二', '三', '四', '五', '六'];
echo '星期' . $weekdays[(int) $now->format('w')], "\n";

// 解析固定格式的字符串，失败时返回 false
$date = DateTimeImmutable::createFromFormat('!Y-m-d', '2024-02-29');
if ($date === false) {
    echo '日期格式不正确';
}

$nextMonth = $now->modify('first day of next month')->setTime(0, 0);
$deadline = $now->add(new DateInterval('P7D'));
