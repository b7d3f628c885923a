// The reader over PHP that trips simple readers: each case lists what must be
// found, as "kind scope::name@line", in file order.
#include <gtest/gtest.h>

#include "PhpSymbolReader.h"

namespace {

std::string Found(std::string_view php)
{
    std::string out;
    for (const CSymbol& s : PhpSymbolReader::Read(php)) {
        out += std::string(SymbolKinds::Name(s.kind)) + ' ' + (s.scope.empty() ? "" : s.scope + "::") + s.name +
               '@' + std::to_string(s.line) + '\n';
    }
    return out;
}

struct Case {
    const char* what;
    const char* php;
    const char* found;
};

const Case kCases[] = {
    {"functions at any depth, not closures, arrow functions or imports",
     "<?php\nuse function Foo\\bar;\nfunction a() { $f = function () use ($x) { return 1; }; $g = fn($y) => $y; }\n"
     "if (!function_exists('b')) {\n  function &b($x) {}\n}\n",
     "function a@3\nfunction b@5\n"},
    {"members of a class; names after -> and :: are no declarations",
     "<?php\nabstract class Foo extends Bar implements Baz, Qux {\n  const A = 1, B = [1, 2];\n"
     "  public static $x = array(1, 2), $y;\n  abstract protected function m(int $a = 1): ?string;\n"
     "  function n() { return Foo::class . $this->class . self::A; }\n}\n",
     "class Foo@2\nclassconst Foo::A@3\nclassconst Foo::B@3\nproperty Foo::x@4\nproperty Foo::y@4\n"
     "method Foo::m@5\nmethod Foo::n@6\n"},
    {"an anonymous class gives nothing, what follows it still counts",
     "<?php\n$o = new class(1) extends Bar { public $p; function hidden() {} };\nclass After { function m() {} }\n",
     "class After@3\nmethod After::m@3\n"},
    {"interfaces, traits with adaptations, enums with cases and typed constants",
     "<?php\ninterface I { const string C = 'x'; function i(); }\ntrait T { use A, B { A::f insteadof B; } }\n"
     "enum Suit: string implements I {\n  case Hearts = 'H';\n  const Wild = self::Hearts;\n  function label() {}\n}\n"
     "function enum() {}\n",
     "interface I@2\nclassconst I::C@2\nmethod I::i@2\ntrait T@3\nenum Suit@4\nenumcase Suit::Hearts@5\n"
     "classconst Suit::Wild@6\nmethod Suit::label@7\nfunction enum@9\n"},
    {"namespaces, global constants and define() with a name known before the run",
     "<?php\nnamespace App\\Core;\nconst X = 1, Y = 2;\ndefine('Z', 3);\ndefine(\"A$b\", 4);\n"
     "function f() { define( \"IN\", 1 ); }\n",
     "namespace App\\Core@2\nconstant X@3\nconstant Y@3\nconstant Z@4\nfunction f@6\nconstant IN@6\n"},
    {"braces and keywords inside strings, heredocs and comments count for nothing",
     "<?php\n$a = \"{ function no1() {\";\n$b = '}';\n// function no2() {}\n# class No3 {}\n"
     "/* function no4() { */\n$c = <<<EOT\n{$x} } function no5() {\nEOT;\nfunction yes() {}\n",
     "function yes@10\n"},
    {"HTML between the regions of a method",
     "<html><?php class V { function show() { ?>\n<p>{ function no() {</p>\n<?php } function more() {} }\n"
     "?>\n<?php function after() {}\n",
     "class V@1\nmethod V::show@1\nmethod V::more@3\nfunction after@5\n"},
    {"promoted constructor parameters are properties",
     "<?php\nclass P {\n  public function __construct(private int $a, $b, public readonly ?Foo $c = null) {}\n}\n",
     "class P@2\nmethod P::__construct@3\nproperty P::a@3\nproperty P::c@3\n"},
    {"a brace never closed: what precedes it is read, and the rest still is",
     "<?php\nclass Broken {\n  function open() {\n    if (1) {\n\nfunction later() {}\n",
     "class Broken@2\nmethod Broken::open@3\nfunction later@6\n"},
    {"a string never closed: what precedes it is read",
     "<?php\nfunction before() {}\n$s = 'never closed;\nfunction hidden() {}\n",
     "function before@2\n"},
};

TEST(SymbolReader, TrickyCode)
{
    for (const Case& c : kCases)
        EXPECT_EQ(Found(c.php), c.found) << c.what;
}

TEST(SymbolReader, SignaturesAndDocLines)
{
    const std::vector<CSymbol> s = PhpSymbolReader::Read(
        "<?php\nclass K {\n  /**\n   * Fetches   the row.\n   * @return array\n   */\n"
        "  public static function get(array $a = array(),\n      &$b, Foo ...$rest) : ?string {}\n"
        "  /** @var int */\n  private $n;\n}\n");
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].endLine, 11);
    EXPECT_EQ(s[1].params, "array $a = array(), &$b, Foo ...$rest");
    EXPECT_EQ(s[1].returnType, "?string");
    EXPECT_EQ(s[1].doc, "Fetches   the row.");
    EXPECT_TRUE(s[1].isStatic);
    EXPECT_EQ(s[1].endLine, 8);
    EXPECT_EQ(s[2].doc, "");   // a doc comment of tags only says nothing
}

} // namespace
