<?php
// Writes the PHP reference tree as JSON on standard output:
//   php generate.php <php source tree with the *.stub.php files>
// Functions, classes and methods come from Reflection of the running PHP;
// the types Reflection lacks come from the stub docblocks; the language
// constructs are the hand table of constructs.php. ../emit.mjs turns the
// JSON into dbsrc/reference/php.tsv.

require __DIR__ . '/StubTypes.php';
require __DIR__ . '/Topics.php';
require __DIR__ . '/Prototype.php';

const KIND_CATEGORY = 0;
const KIND_FUNCTION = 1;
const KIND_CONSTRUCT = 2;
const KIND_CLASS = 3;
const KIND_METHOD = 4;
const KIND_MEMBER = 5;   // properties and constants

if ($argc < 2 || !is_dir($argv[1])) {
    fwrite(STDERR, "usage: php generate.php <php-8.2 source tree>\n");
    exit(2);
}
$stubs = new StubTypes($argv[1]);
$topics = new Topics($argv[1]);
$proto = new Prototype($stubs);

$included = static fn (?string $ext): bool =>
    $ext !== null && $ext !== false && !in_array($ext, Topics::EXCLUDED_EXTENSIONS, true);

// Categories with their functions.
$byTopic = [];
foreach (get_defined_functions()['internal'] as $name) {
    $rf = new ReflectionFunction($name);
    $ext = $rf->getExtensionName();
    if (!$included($ext)) {
        continue;
    }
    $byTopic[$topics->topicOf($rf->getName(), $ext)][] = [
        'b' => $rf->getName(),
        'c' => $rf->getName(),
        'd' => [$proto->forFunction($rf)],
        'e' => KIND_FUNCTION,
    ];
}
$byTopic['construct'] = array_map(static fn (array $c) => [
    'b' => $c[0], 'c' => $c[0], 'd' => $c[1], 'e' => KIND_CONSTRUCT,
], require __DIR__ . '/constructs.php');

$nodes = [];
$order = 0;
foreach (Topics::CATEGORIES as $key => [$zh, $en]) {
    $order++;
    if (empty($byTopic[$key])) {
        continue;
    }
    $nodes[] = [
        'b' => "$zh ($en)",
        'c' => sprintf('%02d %s', $order, $en),
        'd' => [sprintf('%02d %s', $order, $en)],
        'e' => KIND_CATEGORY,
        'children' => $byTopic[$key],
    ];
    unset($byTopic[$key]);
}
if ($byTopic) {
    fwrite(STDERR, 'no category for: ' . implode(', ', array_keys($byTopic)) . "\n");
    exit(1);
}

// Classes, interfaces and traits, each with the members it declares itself.
$classes = array_merge(get_declared_classes(), get_declared_interfaces(), get_declared_traits());
sort($classes);
foreach ($classes as $className) {
    $rc = new ReflectionClass($className);
    if (!$rc->isInternal() || !$included($rc->getExtensionName())) {
        continue;
    }
    $name = $rc->getName();
    $children = [];
    foreach ($rc->getMethods() as $m) {
        if ($m->getDeclaringClass()->getName() !== $name || $m->isPrivate()) {
            continue;
        }
        $children[] = [
            'b' => "$name::{$m->getName()}",
            'c' => "$name::{$m->getName()}",
            'd' => [$proto->forMethod($m)],
            'e' => KIND_METHOD,
        ];
    }
    foreach ($rc->getReflectionConstants() as $k) {
        if ($k->getDeclaringClass()->getName() !== $name || $k->isPrivate()) {
            continue;
        }
        $children[] = [
            'b' => "$name::{$k->getName()}",
            'c' => "$name::{$k->getName()}",
            'd' => [$proto->forConstant($k)],
            'e' => KIND_MEMBER,
        ];
    }
    foreach ($rc->getProperties() as $p) {
        if ($p->getDeclaringClass()->getName() !== $name || $p->isPrivate()) {
            continue;
        }
        $children[] = [
            'b' => "$name::\${$p->getName()}",
            'c' => "$name::\${$p->getName()}",
            'd' => [$proto->forProperty($p)],
            'e' => KIND_MEMBER,
        ];
    }
    $nodes[] = [
        'b' => $name,
        'c' => $name,
        'd' => $proto->forClass($rc),
        'e' => KIND_CLASS,
        'children' => $children,
    ];
}

echo json_encode([
    'table' => 'php',
    'source' => 'PHP ' . PHP_VERSION . ' (' . implode(' ', array_filter(get_loaded_extensions(), $included)) . ')',
    'nodes' => $nodes,
], JSON_PRETTY_PRINT | JSON_UNESCAPED_UNICODE | JSON_UNESCAPED_SLASHES | JSON_THROW_ON_ERROR), "\n";
