<!DOCTYPE html>
<html lang="<?php echo $conf['lang'] ?>" dir="<?= $lang['direction'] ?>">
<head><title><?php echo strip_tags($title) ?></title></head>
<body>
<a href="<?= $url ?>" class='<?php echo $cls; ?>'>link</a>
<?php
/* a comment that shows ?> stays code */
$xml = '<?xml version="1.0"?>';
$tpl = "done ?> {$row['name']} ?>";
$cmd = `echo ?>`;
$doc = <<<EOT
  heredoc ?> text {$a["?>"]}
  EOT;
$now = <<<'EOT'
nowdoc ?> text
EOT;
#[Attribute] ?>
<p>back in HTML</p>
<?php // a line comment ends here ?> <b>HTML</b>
<?php # so does this one ?> <i>HTML</i>
<?php if ($a) { ?><em><?php } ?>
