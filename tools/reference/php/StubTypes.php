<?php
// Reads the docblock types of the *.stub.php files of the PHP source tree:
// the types that Reflection cannot give (resources, untyped outputs such as
// &$matches, fopen's return). Keys are "function" or "Class::method", both
// folded to lower case as PHP itself does.

final class StubTypes
{
    /** @var array<string, array{params: array<string,string>, return: ?string}> */
    private array $types = [];

    /** @var array<string, string> "class::property" => type */
    private array $propertyTypes = [];

    public function __construct(string $sourceRoot)
    {
        $it = new RecursiveIteratorIterator(new RecursiveDirectoryIterator(
            $sourceRoot, FilesystemIterator::SKIP_DOTS));
        $files = [];
        foreach ($it as $file) {
            if (str_ends_with($file->getFilename(), '.stub.php')) {
                $files[] = $file->getPathname();
            }
        }
        sort($files);
        foreach ($files as $f) {
            $this->readFile($f);
        }
    }

    public function paramType(string $key, string $param): ?string
    {
        return $this->types[strtolower($key)]['params'][$param] ?? null;
    }

    public function returnType(string $key): ?string
    {
        return $this->types[strtolower($key)]['return'] ?? null;
    }

    /** The docblock type of a property: class name folded to lower case, property name as written. */
    public function propertyType(string $class, string $property): ?string
    {
        return $this->propertyTypes[strtolower($class) . '::' . $property] ?? null;
    }

    public function count(): int
    {
        return count($this->types);
    }

    private function readFile(string $path): void
    {
        $tokens = token_get_all(file_get_contents($path));
        $namespace = '';
        $class = null;          // name of the class-like body we are in
        $classDepth = -1;       // brace depth at which that body opened
        $depth = 0;
        $doc = null;            // the last doc comment not yet used
        $pendingClass = null;   // class name seen, waiting for its "{"
        $n = count($tokens);
        for ($i = 0; $i < $n; $i++) {
            $t = $tokens[$i];
            if (is_string($t)) {
                if ($t === '{' ) {
                    $depth++;
                    if ($pendingClass !== null) {
                        $class = $pendingClass;
                        $classDepth = $depth;
                        $pendingClass = null;
                    }
                } elseif ($t === '}') {
                    if ($class !== null && $depth === $classDepth) {
                        $class = null;
                        $classDepth = -1;
                    }
                    $depth--;
                } elseif ($t === ';' || $t === '=') {
                    $doc = null;
                }
                continue;
            }
            [$id, $text] = $t;
            switch ($id) {
                case T_DOC_COMMENT:
                    $doc = $text;
                    break;
                case T_CURLY_OPEN:
                case T_DOLLAR_OPEN_CURLY_BRACES:
                    $depth++;
                    break;
                case T_NAMESPACE:
                    $name = $this->nextName($tokens, $i);
                    $namespace = $name === null ? '' : $name . '\\';
                    break;
                case T_CLASS:
                case T_INTERFACE:
                case T_TRAIT:
                case T_ENUM:
                    $name = $this->nextName($tokens, $i);
                    if ($name !== null) {
                        $pendingClass = $namespace . $name;
                    }
                    $doc = null;
                    break;
                case T_VARIABLE:
                    // a property: a variable right inside a class body
                    if ($class !== null && $depth === $classDepth && $doc !== null
                        && preg_match('/@var\s+(\S+)/', $doc, $m)) {
                        $this->propertyTypes[strtolower($class) . '::' . substr($text, 1)] = $m[1];
                    }
                    $doc = null;
                    break;
                case T_FUNCTION:
                    $name = $this->nextName($tokens, $i);
                    if ($name !== null) {
                        $key = $class !== null ? $class . '::' . $name : $namespace . $name;
                        $this->types[strtolower($key)] = $this->parseDoc($doc);
                    }
                    $doc = null;
                    break;
            }
        }
    }

    private function nextName(array $tokens, int $i): ?string
    {
        for ($j = $i + 1; $j < count($tokens); $j++) {
            $t = $tokens[$j];
            if (is_array($t) && in_array($t[0], [T_WHITESPACE, T_COMMENT], true)) {
                continue;
            }
            if (is_array($t) && in_array($t[0], [T_STRING, T_NAME_QUALIFIED], true)) {
                return $t[1];
            }
            if ($t === '&') {
                continue;
            }
            return null;
        }
        return null;
    }

    private function parseDoc(?string $doc): array
    {
        $out = ['params' => [], 'return' => null];
        if ($doc === null) {
            return $out;
        }
        if (preg_match_all('/@param\s+(\S+)\s+&?(?:\.\.\.)?\$(\w+)/', $doc, $m, PREG_SET_ORDER)) {
            foreach ($m as $p) {
                $out['params'][$p[2]] = $p[1];
            }
        }
        if (preg_match('/@return\s+(\S+)/', $doc, $m)) {
            $out['return'] = $m[1];
        }
        return $out;
    }
}
