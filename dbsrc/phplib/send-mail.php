<?php
// 发送邮件：UTF-8 主题与正文，防止邮件头注入
function send_mail(string $to, string $subject, string $body, string $from = 'noreply@example.com'): bool
{
    foreach ([$to, $from] as $address) {
        if (filter_var($address, FILTER_VALIDATE_EMAIL) === false) {
            throw new InvalidArgumentException('邮箱地址无效：' . $address);
        }
    }
    // 主题里的换行会被当成新的邮件头，先去掉
    $subject = str_replace(["\r", "\n"], '', $subject);
    $headers = [
        'From'                      => $from,
        'Reply-To'                  => $from,
        'MIME-Version'              => '1.0',
        'Content-Type'              => 'text/plain; charset=UTF-8',
        'Content-Transfer-Encoding' => '8bit',
    ];
    return mail($to, mb_encode_mimeheader($subject, 'UTF-8'), $body, $headers);
}
