<?php
// PDO 事务：转账，两条更新要么都成功要么都回滚
function transfer(PDO $pdo, int $from, int $to, int $cents): void
{
    if ($cents <= 0) {
        throw new InvalidArgumentException('金额必须大于零');
    }
    $pdo->beginTransaction();
    try {
        $debit = $pdo->prepare('UPDATE accounts SET balance = balance - ? WHERE id = ? AND balance >= ?');
        $debit->execute([$cents, $from, $cents]);
        if ($debit->rowCount() !== 1) {
            throw new RuntimeException('余额不足或账户不存在');
        }
        $credit = $pdo->prepare('UPDATE accounts SET balance = balance + ? WHERE id = ?');
        $credit->execute([$cents, $to]);
        if ($credit->rowCount() !== 1) {
            throw new RuntimeException('收款账户不存在');
        }
        $pdo->commit();
    } catch (Throwable $e) {
        $pdo->rollBack();
        throw $e;
    }
}
