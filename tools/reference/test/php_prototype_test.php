<?php
// Cases of the PHP prototype lines: defaults as the source writes them,
// reference and variadic marks, tentative return types, and the stub
// docblock types where Reflection has none (read from stub files made here).
//   php php_prototype_test.php     prints "N passed, N failed"

require __DIR__ . '/../php/StubTypes.php';
require __DIR__ . '/../php/Prototype.php';

$dir = sys_get_temp_dir() . '/quillet_stub_test_' . getmypid();
@mkdir($dir . '/ext/demo', 0777, true);
file_put_contents($dir . '/ext/demo/demo.stub.php', <<<'PHP'
<?php
namespace Demo {
    /** @return resource|false */
    function opened($context = null) {}
}
namespace {
    /** @var int */
    const SOMETHING = UNKNOWN;

    /** @param array $matches */
    function preg_match(string $pattern, string $subject, &$matches = null, int $flags = 0, int $offset = 0): int|false {}

    /**
     * @param resource|null $context
     * @return resource|false
     */
    function fopen(string $filename, string $mode, bool $use_include_path = false, $context = null) {}

    class SplFileObject extends SplFileInfo
    {
        /** @param resource|null $context */
        public function __construct(string $filename, string $mode = "r", bool $useIncludePath = false, $context = null) {}

        /** @tentative-return-type */
        public function fgetcsv(string $separator = ",", string $enclosure = "\"", string $escape = "\\"): array|false {}
    }

    class Exception implements Throwable
    {
        /** @var string Intentionally left untyped */
        protected $message = "";
        /** @var int */
        protected $code = 0;
    }

    /** @return resource|false */
    function fopen_outside_a_class() {}
}
PHP);

final class QuilletTestConstants
{
    public const SEPARATOR = "a;b\n";
    public const LIMIT = 10;
}

$stubs = new StubTypes($dir);
$proto = new Prototype($stubs);
$passed = 0;
$failed = 0;
$check = function (string $what, $actual, $expected) use (&$passed, &$failed) {
    if ($actual === $expected) {
        $passed++;
        return;
    }
    $failed++;
    echo "FAIL $what\n  expected: ", var_export($expected, true), "\n  actual:   ", var_export($actual, true), "\n";
};

$check('docblock type of an untyped by-reference output',
    $proto->forFunction(new ReflectionFunction('preg_match')),
    'preg_match(string $pattern, string $subject, array &$matches = null, int $flags = 0, int $offset = 0): int|false');
$check('docblock types of an untyped parameter and return',
    $proto->forFunction(new ReflectionFunction('fopen')),
    'fopen(string $filename, string $mode, bool $use_include_path = false, resource|null $context = null): resource|false');
$check('constant names of a default stay as written',
    $proto->forFunction(new ReflectionFunction('htmlspecialchars')),
    'htmlspecialchars(string $string, int $flags = ENT_QUOTES | ENT_SUBSTITUTE | ENT_HTML401, ?string $encoding = null, bool $double_encode = true): string');
$check('a default without PHP spelling is "?"',
    $proto->forFunction(new ReflectionFunction('array_walk')),
    'array_walk(object|array &$array, callable $callback, mixed $arg = ?): true');
$check('variadic mark',
    $proto->forFunction(new ReflectionFunction('array_push')),
    'array_push(array &$array, mixed ...$values): int');
$check('a method stub is found inside its class',
    $stubs->paramType('SplFileObject::__construct', 'context'), 'resource|null');
$check('functions of a namespace carry its name',
    $stubs->returnType('Demo\\opened'), 'resource|false');
$check('after the class body, functions are global again',
    $stubs->returnType('fopen_outside_a_class'), 'resource|false');
$check('a constant\'s docblock is no function\'s',
    $stubs->returnType('preg_match'), null);
$check('docblock type of an untyped property',
    $proto->forProperty(new ReflectionProperty('Exception', 'message')),
    'Exception::$message: string (protected)');
$check('property types are kept per class',
    $stubs->propertyType('Exception', 'code'), 'int');
$check('tentative return type of a method',
    $proto->forMethod(new ReflectionMethod('SplFileObject', 'fgetcsv')),
    'SplFileObject::fgetcsv(string $separator = ",", string $enclosure = "\"", string $escape = "\\\\"): array|false');
$check('the class line names its parent and own interfaces',
    $proto->forClass(new ReflectionClass('ArrayIterator'))[1],
    'ArrayIterator: class implements SeekableIterator, ArrayAccess, Serializable, Countable');
$check('the constructor line of an instantiable class',
    $proto->forClass(new ReflectionClass('SplFileObject'))[0],
    'SplFileObject(string $filename, string $mode = "r", bool $useIncludePath = false, resource|null $context = null)');
$check('a string constant with ";" is written with its escape',
    $proto->forConstant(new ReflectionClassConstant('QuilletTestConstants', 'SEPARATOR')),
    'QuilletTestConstants::SEPARATOR = "a\\x3Bb\\n"');
$check('an integer constant',
    $proto->forConstant(new ReflectionClassConstant('QuilletTestConstants', 'LIMIT')),
    'QuilletTestConstants::LIMIT = 10');

unlink($dir . '/ext/demo/demo.stub.php');
rmdir($dir . '/ext/demo');
rmdir($dir . '/ext');
rmdir($dir);
echo "$passed passed, $failed failed\n";
exit($failed === 0 ? 0 : 1);
