<?php
// 生成 URL 友好的 slug：小写字母、数字和连字符
function slugify(string $text, string $fallback = 'item'): string
{
    if (function_exists('transliterator_transliterate')) {
        $text = transliterator_transliterate('Any-Latin; Latin-ASCII; Lower()', $text);
    } else {
        $text = strtolower($text);
    }
    $text = preg_replace('/[^a-z0-9]+/', '-', (string) $text);
    $text = trim((string) $text, '-');
    return $text !== '' ? $text : $fallback . '-' . substr(md5(uniqid('', true)), 0, 6);
}

// slugify('Hello World!') => 'hello-world'
