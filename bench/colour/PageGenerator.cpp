#include "PageGenerator.h"

#include <string>

namespace BenchPages {

namespace {

std::string Block(int n)
{
    const std::string i = std::to_string(n);
    std::string b;
    b += "<div class=\"item\" id=\"item" + i + "\">\n";
    b += "<h2 title=\"section " + i + "\">Section " + i + " &amp; notes</h2>\n";
    b += "<?php\n";
    b += "// Section " + i + ": list the rows and sum the totals.\n";
    b += "require_once \"lib/db" + i + ".php\";\n";
    b += "class Row" + i + " extends BaseRow {\n";
    b += "    var $name = 'row" + i + "';   # default name\n";
    b += "    function total($items, $tax = 0.16) {\n";
    b += "        $sum = 0;\n";
    b += "        foreach ($items as $key => $value) {\n";
    b += "            if ($value['price'] > 0 && $value['count'] != 0) {\n";
    b += "                $sum += $value['price'] * $value['count'] * (1 + $tax);\n";
    b += "            } elseif ($value['price'] == 0) {\n";
    b += "                continue;\n";
    b += "            } else { break; }\n";
    b += "        }\n";
    b += "        /* rounded to cents */\n";
    b += "        return round($sum * 100) / 100;\n";
    b += "    }\n";
    b += "}\n";
    b += "$row = new Row" + i + "();\n";
    b += "echo \"<p>Total for \" . $row->name . \": \" . $row->total($list" + i + ") . \"</p>\";\n";
    b += "?>\n";
    b += "<table border=\"1\" cellpadding=4 width=\"100%\">\n";
    b += "<tr><th>名称</th><th>数量</th><th>价格</th></tr>\n";
    b += "<?php for ($i = 0; $i < " + i + "; $i++) { ?>\n";
    b += "<tr class='<?php echo $i % 2 ? \"odd\" : \"even\"; ?>'>"
         "<td><a href=\"show.php?id=<?= $ids[$i] ?>\"><?= htmlspecialchars($names[$i]) ?></a></td>"
         "<td align=right><?php echo $counts[$i]; ?></td><td><?php printf(\"%.2f\", $prices[$i]); ?></td></tr>\n";
    b += "<?php } ?>\n";
    b += "</table>\n";
    b += "<form method=\"post\" action=\"save.php\" onsubmit=\"return check(this) == true;\">\n";
    b += "<input type=\"text\" name=\"q" + i + "\" size=20 value=\"\"><br/>\n";
    b += "<input type=\"submit\" value=\"保存\">\n";
    b += "</form>\n";
    b += "<script type=\"text/javascript\">\n";
    b += "function check(f) { if (f.q" + i + ".value == \"\") { alert(\"请输入\"); return false; } return true; }\n";
    b += "</script>\n";
    b += "</div>\n";
    if (n % 2) {
        std::string crlf;
        for (char c : b) {
            if (c == '\n')
                crlf += '\r';
            crlf += c;
        }
        return crlf;
    }
    return b;
}

std::string ClassBlock(int n)
{
    const std::string i = std::to_string(n);
    std::string b;
    b += "/**\n * Orders of shop " + i + ": lines, discounts and totals.\n *\n * @package Shop\\Orders\n */\n";
    b += "final class Order" + i + " extends BaseOrder implements \\JsonSerializable\n{\n";
    b += "    public const LIMIT = " + i + "00;\n";
    b += "    private const TAX = 0.13;\n\n";
    b += "    /** @var array<int, float> */\n";
    b += "    private array $prices = [];\n";
    b += "    private string $label = '订单" + i + "';   # shown in the list\n\n";
    b += "    public function __construct(private int $id, private ?Customer $customer = null)\n    {\n";
    b += "        $this->label .= \" #\" . $id;\n    }\n\n";
    b += "    /**\n     * Adds a price; returns false when the order is full.\n     */\n";
    b += "    public function add(float $price, int $count = 1): bool\n    {\n";
    b += "        if (count($this->prices) >= self::LIMIT || $count <= 0) {\n";
    b += "            return false;\n";
    b += "        } elseif ($price == 0.0 && !$this->customer) {\n";
    b += "            throw new \\InvalidArgumentException(\"Order {$this->id}: no price\");\n";
    b += "        }\n";
    b += "        for ($k = 0; $k < $count; $k++) {\n";
    b += "            $this->prices[] = $price * 1.5 - 2;\n";
    b += "        }\n";
    b += "        return true;\n    }\n\n";
    b += "    public function total(): float\n    {\n";
    b += "        $sum = 0;\n";
    b += "        foreach ($this->prices as $key => $value) {\n";
    b += "            $sum += $value % 7 == 1 ? $value : $value * (1 + self::TAX);   // " + i + "\n";
    b += "        }\n";
    b += "        /* rounded to cents */\n";
    b += "        return round($sum * 100) / 100;\n    }\n\n";
    b += "    public function jsonSerialize(): array\n    {\n";
    b += "        return ['id' => $this->id, 'label' => $this->label, \"total\" => $this->total()];\n    }\n}\n\n";
    return b;
}

} // namespace

std::string PhpOnlyPage(std::size_t bytes)
{
    std::string page = "<?php\n\ndeclare(strict_types=1);\n\nnamespace Shop\\Orders;\n\nuse Shop\\Customers\\Customer;\n\n";
    for (int n = 1; page.size() < bytes; ++n)
        page += ClassBlock(n);
    return page;
}

std::string Page(std::size_t bytes)
{
    std::string page = "<html>\n<head><title>Quillet benchmark page</title></head>\n<body>\n";
    for (int n = 1; page.size() < bytes; ++n)
        page += Block(n);
    page += "</body>\n</html>\n";
    return page;
}

} // namespace BenchPages
