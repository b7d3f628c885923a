#include "RandomPage.h"

#include <algorithm>

namespace RandomPage {

namespace {

const char* const kHtml[] = {
    "<table class=\"grid\" width=100>",
    "<tr><td>名称</td><td>价格</td></tr>",
    "<a href=\"index.php?id=<?php echo $id; ?>\">链接</a>",
    "<script>var a = \"x\" + 1; if (a == b) { c = '<'; }</script>",
    "<!-- 注释 <?php ?> -->",
    "<style>td { color: red; } /* \" */</style>",
    "<br/><p>text 1.5 and \"quoted\" = value</p>",
    "<input type=\"text\" name=\"q\" value=\"<?= $q ?>\"/>",
    "</table>",
    "<script>\n/* a\n b */ var t = `x ${ {a: 1}.a } y\n z`; s = /[/'\"]/g.test('q\\n');\n</script>",
    "<script>if (f(a,\n b)) /'/.test(c); while (x) {}</script>",
    "<style>\n@media x { a:hover { margin: -1.5em; color: #fa0 !important; } }\n</style>",
    "<div title='a<?php echo \"?>\"; ?>b' onclick=\"f('<?= $x ?>')\" data-x=<?= 1 ?>>",
    "",
};

const char* const kPhp[] = {
    "function render($a, $b) {",
    "    // comment if it fails",
    "    /* block comment echo */",
    "    echo \"text $a\" . $b;",
    "    $x = 1.5 + 0.0 * 007 - .5;",
    "    if ($a == 1 && $b != 2) { return true; }",
    "    # hash comment",
    "    $s = 'single \" quote';",
    "    elseif ($i++ >= 3) { $i += 2; }",
    "    include_once \"a.php\"; require 'b.php';",
    "    $obj->name = new Widget(\"中文\");",
    "    $html = \"<td>?></td>\";",
    "    $h = <<<EOT\n  a {$x->y[\"k\"]} ${z}\n  EOT;",
    "    $n = <<<'N'\n ?> {$no}\nN;",
    "    yield from $o->list(0x1F, 0b11_01, 1.5e-3, `ls`); enum E {}",
    "}",
    "",
};

const char* const kTyped[] = {"<?php", "<?", "?>", "\"", "/*", "*/", "//", "#", "<", ">", "=", "'", "/>", "<?php ", " ?>",
                              "`", "${", "{$", "}", "<script>", "</script>", "<style>", "<<<EOT\n", "\nEOT;", "<!--", "-->"};

std::size_t Below(std::mt19937& rng, std::size_t n) { return n == 0 ? 0 : rng() % n; }

template <std::size_t N>
const char* Pick(std::mt19937& rng, const char* const (&list)[N])
{
    return list[Below(rng, N)];
}

std::string LineEnd(std::mt19937& rng) { return rng() % 3 == 0 ? "\r\n" : "\n"; }

} // namespace

std::string Page(std::mt19937& rng, std::size_t bytes, bool phpOnly)
{
    std::string page = phpOnly ? "<?php\n" : "";
    while (page.size() < bytes) {
        if (phpOnly) {
            page += std::string(Pick(rng, kPhp)) + LineEnd(rng);
            continue;
        }
        const std::size_t htmlLines = 1 + Below(rng, 6);
        for (std::size_t k = 0; k < htmlLines; ++k)
            page += std::string(Pick(rng, kHtml)) + LineEnd(rng);
        page += rng() % 4 == 0 ? "<?" : "<?php";
        page += LineEnd(rng);
        const std::size_t phpLines = 1 + Below(rng, 8);
        for (std::size_t k = 0; k < phpLines; ++k)
            page += std::string(Pick(rng, kPhp)) + LineEnd(rng);
        page += "?>" + LineEnd(rng);
    }
    return page;
}

std::string RandomEdit(std::mt19937& rng, const std::string& text, EditLog& log, const InsertFn& insert,
                       const EraseFn& erase)
{
    auto doInsert = [&](std::size_t pos, const std::string& s) {
        insert(pos, s);
        log.undo.push_back({true, pos, s});
        log.redo.clear();
        return "insert " + std::to_string(pos) + " \"" + s + "\"";
    };
    auto doErase = [&](std::size_t pos, std::size_t len) {
        const std::string gone = text.substr(pos, len);
        erase(pos, len);
        log.undo.push_back({false, pos, gone});
        log.redo.clear();
        return "delete " + std::to_string(pos) + " \"" + gone + "\"";
    };
    const std::size_t n = text.size();
    const unsigned kind = rng() % 100;
    if (kind < 30)
        return doInsert(Below(rng, n + 1), std::string(1, static_cast<char>('a' + Below(rng, 26))));
    if (kind < 45)
        return doInsert(Below(rng, n + 1), rng() % 2 ? "\n" : "\r\n");
    if (kind < 60)
        return doInsert(Below(rng, n + 1), Pick(rng, kTyped));
    if (kind < 70 && n > 0) {
        const std::size_t from = Below(rng, n);
        return "paste: " + doInsert(Below(rng, n + 1), text.substr(from, 1 + Below(rng, 400)));
    }
    if (kind < 88 && n > 0) {
        const std::size_t pos = Below(rng, n);
        const std::size_t len = std::min(n - pos, 1 + Below(rng, kind < 80 ? 300 : 3));
        return doErase(pos, len);
    }
    if (kind < 94 && !log.undo.empty()) {
        const EditLog::Op op = log.undo.back();
        log.undo.pop_back();
        log.redo.push_back(op);
        op.insert ? erase(op.pos, op.text.size()) : insert(op.pos, op.text);
        return "undo";
    }
    if (!log.redo.empty()) {
        const EditLog::Op op = log.redo.back();
        log.redo.pop_back();
        log.undo.push_back(op);
        op.insert ? insert(op.pos, op.text) : erase(op.pos, op.text.size());
        return "redo";
    }
    return doInsert(Below(rng, n + 1), "x");
}

} // namespace RandomPage
