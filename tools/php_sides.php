<?php
// php -d short_open_tag=1 tools/php_sides.php FILE...
// For each FILE prints "= FILE", then "START END" for every byte range that
// PHP's own lexer reads as HTML (text sent out as it stands). PHP also drops
// the one line break after a closing tag from the output; that break is not
// code, so it is listed with the HTML. A file whose tokens do not cover all
// its bytes is reported with "! FILE" and its reason.
for ($k = 1; $k < $argc; ++$k) {
    $file = $argv[$k];
    $code = @file_get_contents($file);
    echo "= $file\n";
    if ($code === false) {
        echo "! $file cannot be read\n";
        continue;
    }
    $pos = 0;
    foreach (token_get_all($code) as $t) {
        $text = is_array($t) ? $t[1] : $t;
        $len = strlen($text);
        if (is_array($t) && $t[0] === T_INLINE_HTML)
            echo $pos, ' ', $pos + $len, "\n";
        elseif (is_array($t) && $t[0] === T_CLOSE_TAG && $len > 2)
            echo $pos + 2, ' ', $pos + $len, "\n";
        $pos += $len;
    }
    if ($pos !== strlen($code))
        echo "! $file tokens cover $pos of ", strlen($code), " bytes\n";
}
