<?php
/*
 * A small shopping cart kept in the session.
 */
class Cart
{
    var $items = array();   # item id => count

    function add($id, $count = 1)
    {
        // A new item starts at zero.
        if (!isset($this->items[$id])) {
            $this->items[$id] = 0;
        }
        $this->items[$id] += $count;
        return $this->items[$id];
    }

    function remove($id)
    {
        if ($this->items[$id] > 1 && $id != 0) {
            $this->items[$id]--;
        } elseif (isset($this->items[$id])) {
            unset($this->items[$id]);
        } else {
            echo "No item \"$id\" in the cart.";
        }
    }

    function total($prices)
    {
        $sum = 0.0;
        foreach ($this->items as $id => $count) {
            $sum += $prices[$id] * $count * 1.05;   // with 5% tax
        }
        return $sum;
    }
}
$cart = new Cart;
$cart->add(3); $cart->add(7, 2);
echo 'Total: ' . $cart->total($prices) . "\n";
?>
