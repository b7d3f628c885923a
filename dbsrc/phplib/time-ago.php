<?php
// 友好时间：“刚刚”“5 分钟前”“3 天前”
function time_ago(DateTimeInterface $time, ?DateTimeInterface $now = null): string
{
    $now ??= new DateTimeImmutable();
    $seconds = $now->getTimestamp() - $time->getTimestamp();
    if ($seconds < 0) {
        return $time->format('Y-m-d H:i');
    }
    return match (true) {
        $seconds < 60      => '刚刚',
        $seconds < 3600    => intdiv($seconds, 60) . ' 分钟前',
        $seconds < 86400   => intdiv($seconds, 3600) . ' 小时前',
        $seconds < 2592000 => intdiv($seconds, 86400) . ' 天前',
        default            => $time->format('Y-m-d'),
    };
}

// 两个日期相差的天数
$days = (new DateTime('2024-01-01'))->diff(new DateTime('2024-03-01'))->days;  // 60
