<?php
// The language constructs: they are not functions, so Reflection does not see
// them. Prototypes as the PHP manual writes them, overloads as separate lines.
return [
    ['echo', ['echo(string ...$expressions): void']],
    ['print', ['print(string $arg): int']],
    ['isset', ['isset(mixed $var, mixed ...$vars): bool']],
    ['unset', ['unset(mixed $var, mixed ...$vars): void']],
    ['empty', ['empty(mixed $var): bool']],
    ['include', ['include(string $path): mixed', 'include "file.php"']],
    ['include_once', ['include_once(string $path): mixed', 'include_once "file.php"']],
    ['require', ['require(string $path): mixed', 'require "file.php"']],
    ['require_once', ['require_once(string $path): mixed', 'require_once "file.php"']],
    ['eval', ['eval(string $code): mixed']],
    ['exit', ['exit(string $status = ?): void', 'exit(int $status): void']],
    ['die', ['die(string $status = ?): void', 'die(int $status): void']],
    ['list', ['list(mixed $var, mixed ...$vars = ?): array']],
    ['array', ['array(mixed ...$values): array']],
    ['match', ['match (mixed $subject) { value, ... => result, default => result }']],
];
