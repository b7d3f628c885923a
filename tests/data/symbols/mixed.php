<html><body>
<?php
namespace Shop\Cart;

use Shop\Base\Model as BaseModel;
use function Shop\helpers\money;

const CURRENCY = 'EUR', ROUNDING = 2;
define('CART_VERSION', '1.0');

interface Priced
{
    const TAX = 0.2;
    public function price(): float;
}

trait Discounted
{
    public $rate = 0;
    public function discount(float $amount): float { return $amount * (1 - $this->rate); }
}

abstract class Item extends BaseModel implements Priced
{
    use Discounted;
    const KIND = 'item', LIMIT = [1, 2];
    protected static $count = 0, $names = array('a', 'b');

    public function __construct(protected string $name, private ?int $qty = null) {}
    abstract protected function label(): string;
    public static function make(...$args): static { return new static(...$args); }
}

final class Cart implements \Countable
{
    private $items = [];
    public function count(): int { return count($this->items); }
    public function add(Item $item, int &$total = 0) {
        $message = "class Fake { function hidden() {} }";
        $template = <<<HTML
<div>{$item->name} } function alsoHidden() {</div>
HTML;
        $sorter = function ($a, $b) use ($total) { return $a <=> $b; };
        $mapped = array_map(fn($i) => $i->price(), $this->items);
        // function commented() {}
        /* class Commented {} */
        return Item::class . $this->class;
    }
}

if (!function_exists('cart_total')) {
    function cart_total(Cart $cart) {
        function nested_helper() {}
        return 0;
    }
}
?>
<p><?= cart_total(new Cart) ?></p>
<?php
function after_html($a = ')', $b = "{") { return $a . $b; }
