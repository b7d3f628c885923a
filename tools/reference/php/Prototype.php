<?php
// Builds the prototype lines of PHP functions, methods, classes and members
// in the PHP manual's shape: name(type &$param = default, type ...$rest): type

final class Prototype
{
    public function __construct(private StubTypes $stubs)
    {
    }

    public function forFunction(ReflectionFunction $f): string
    {
        $key = $f->getName();
        return $f->getName() . $this->signature($f, $key, $this->returnType($f, $key));
    }

    public function forMethod(ReflectionMethod $m): string
    {
        $class = $m->getDeclaringClass()->getName();
        $key = $class . '::' . $m->getName();
        $ret = null;
        if ($m->hasTentativeReturnType()) {
            $ret = (string) $m->getTentativeReturnType();
        }
        $ret ??= $this->returnType($m, $key);
        return $key . $this->signature($m, $key, $ret);
    }

    /** @return list<string> the constructor line (when it can be built) and the declaration */
    public function forClass(ReflectionClass $c): array
    {
        $name = $c->getName();
        $lines = [];
        $ctor = $c->getConstructor();
        if ($c->isInstantiable() && $ctor !== null && $ctor->isPublic()) {
            $lines[] = $name . $this->signature($ctor, $ctor->getDeclaringClass()->getName() . '::__construct', null);
        }
        $what = match (true) {
            $c->isInterface() => 'interface',
            $c->isTrait() => 'trait',
            $c->isEnum() => 'enum',
            default => trim(($c->isFinal() ? 'final ' : '') . ($c->isAbstract() ? 'abstract ' : '') . 'class'),
        };
        $decl = "$name: $what";
        $parent = $c->getParentClass();
        if ($parent !== false) {
            $decl .= ' extends ' . $parent->getName();
        }
        $own = $c->getInterfaceNames();
        if ($parent !== false) {
            $own = array_values(array_diff($own, $parent->getInterfaceNames()));
        }
        // only the interfaces named in the declaration: not those that come
        // with the parent or with another listed interface
        $own = array_values(array_filter($own, static function (string $i) use ($own): bool {
            foreach ($own as $j) {
                if ($j !== $i && (new ReflectionClass($j))->implementsInterface($i)) {
                    return false;
                }
            }
            return true;
        }));
        if ($own) {
            $decl .= ($c->isInterface() ? ' extends ' : ' implements ') . implode(', ', $own);
        }
        $lines[] = $decl;
        return $lines;
    }

    public function forConstant(ReflectionClassConstant $k): string
    {
        $line = $k->getDeclaringClass()->getName() . '::' . $k->getName();
        $value = $k->getValue();
        if (is_scalar($value) || $value === null) {
            $line .= ' = ' . self::literal($value);
        } elseif ($value instanceof UnitEnum) {
            $line .= ' = ' . get_class($value) . '::' . $value->name;
        }
        return $line;
    }

    public function forProperty(ReflectionProperty $p): string
    {
        $line = $p->getDeclaringClass()->getName() . '::$' . $p->getName();
        $mods = [];
        if ($p->isStatic()) {
            $mods[] = 'static';
        }
        if ($p->isReadOnly()) {
            $mods[] = 'readonly';
        }
        if ($p->isProtected()) {
            $mods[] = 'protected';
        }
        $type = $p->hasType() ? (string) $p->getType()
            : $this->stubs->propertyType($p->getDeclaringClass()->getName(), $p->getName());
        if ($type !== null) {
            $line .= ': ' . $type;
        }
        if ($mods) {
            $line .= ' (' . implode(' ', $mods) . ')';
        }
        return $line;
    }

    private function signature(ReflectionFunctionAbstract $f, string $key, ?string $ret): string
    {
        $params = [];
        foreach ($f->getParameters() as $p) {
            $params[] = $this->parameter($p, $key);
        }
        $s = '(' . implode(', ', $params) . ')';
        if ($ret !== null && $ret !== '') {
            $s .= ': ' . $ret;
        }
        return $s;
    }

    private function returnType(ReflectionFunctionAbstract $f, string $key): ?string
    {
        if ($f->hasReturnType()) {
            return (string) $f->getReturnType();
        }
        return $this->stubs->returnType($key);
    }

    private function parameter(ReflectionParameter $p, string $key): string
    {
        $type = $p->hasType() ? (string) $p->getType() : $this->stubs->paramType($key, $p->getName());
        $s = $type !== null ? $type . ' ' : '';
        if ($p->isPassedByReference()) {
            $s .= '&';
        }
        if ($p->isVariadic()) {
            $s .= '...';
        }
        $s .= '$' . $p->getName();
        $default = self::defaultText($p);
        if ($default !== null) {
            $s .= ' = ' . $default;
        }
        return $s;
    }

    /**
     * The default value as the source writes it, taken from the parameter's
     * string form ("Parameter #1 [ <optional> int $flags = ENT_QUOTES | ... ]")
     * rather than from the evaluated value, so constants keep their names.
     */
    public static function defaultText(ReflectionParameter $p): ?string
    {
        $text = (string) $p;
        $marker = '$' . $p->getName() . ' = ';
        $at = strpos($text, $marker);
        if ($at === false) {
            return null;
        }
        $rest = rtrim(preg_replace('/\s*\]\s*$/', '', substr($text, $at + strlen($marker))));
        // "<default>" stands for a default that has no PHP spelling (an
        // optional parameter whose absence means something of its own); the
        // PHP manual writes it "?"
        return $rest === '<default>' ? '?' : $rest;
    }

    private static function literal(mixed $v): string
    {
        return match (true) {
            $v === null => 'null',
            is_bool($v) => $v ? 'true' : 'false',
            // ";" separates prototype lines, so it is written as its escape.
            is_string($v) => '"' . str_replace(';', '\x3B', addcslashes($v, "\0..\37\"\\\$\177")) . '"',
            default => var_export($v, true),
        };
    }
}
