<?php

declare(strict_types=1);

namespace Shop\Billing;

use InvalidArgumentException;

/**
 * An invoice with its lines; totals include tax.
 *
 * @author  Wang Lei
 */
final class Invoice
{
    public const TAX_RATE = 0.13;
    private const MAX_LINES = 200;

    /** @var array<int, array{name: string, price: float, qty: int}> */
    private array $lines = [];

    private bool $paid = false;

    public function __construct(private string $number, private string $customer = '散客')
    {
    }

    /**
     * Adds a line; returns the invoice for chaining.
     */
    public function addLine(string $name, float $price, int $qty = 1): self
    {
        if ($qty <= 0 || count($this->lines) >= self::MAX_LINES) {
            throw new InvalidArgumentException("Bad line for invoice {$this->number}: $name");
        }
        $this->lines[] = ['name' => $name, 'price' => $price, 'qty' => $qty];
        return $this;
    }

    public function total(): float
    {
        $sum = 0.0;
        foreach ($this->lines as $line) {
            $sum += $line['price'] * $line['qty'];
        }
        // Rounded to cents, as printed.
        return round($sum * (1 + self::TAX_RATE), 2);
    }

    public function markPaid(): void
    {
        $this->paid = true;
    }

    public function __toString(): string
    {
        $state = $this->paid ? "paid" : "open";
        return sprintf("%s (%s): %.2f\n", $this->number, $state, $this->total());
    }
}
