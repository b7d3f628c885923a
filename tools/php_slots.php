<?php
// php -d short_open_tag=1 tools/php_slots.php FILE...
// For each FILE prints "= FILE", then "SLOT START END" for every token that
// PHP's own lexer reads as a comment (slot 6), a string or a piece of one
// (7), a number (9) or a reserved word (4): the slot the grammar colouring
// must give each of its bytes.
$names = [T_STRING, T_STRING_VARNAME, T_END_HEREDOC, T_INLINE_HTML, T_ENCAPSED_AND_WHITESPACE, T_NUM_STRING];
$slots = [T_COMMENT => 6, T_DOC_COMMENT => 6, T_CONSTANT_ENCAPSED_STRING => 7, T_ENCAPSED_AND_WHITESPACE => 7,
          T_START_HEREDOC => 7, T_END_HEREDOC => 7, T_LNUMBER => 9, T_DNUMBER => 9];
for ($k = 1; $k < $argc; ++$k) {
    $file = $argv[$k];
    $code = @file_get_contents($file);
    echo "= $file\n";
    if ($code === false)
        continue;
    $pos = 0;
    foreach (token_get_all($code) as $t) {
        $text = is_array($t) ? $t[1] : $t;
        $len = strlen($text);
        $slot = 0;
        if (!is_array($t))
            $slot = ($t === '"' || $t === '`') ? 7 : 0;
        elseif (isset($slots[$t[0]]))
            $slot = $slots[$t[0]];
        elseif (!in_array($t[0], $names, true) && preg_match('/^[A-Za-z_\x80-\xff][\w\x80-\xff]*(\s+from)?$/i', $text))
            $slot = 4;
        if ($slot)
            echo $slot, ' ', $pos, ' ', $pos + $len, "\n";
        $pos += $len;
    }
}
