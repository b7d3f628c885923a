<?php
$n = 10;
while ($n > 0) {
    echo "<li>" . $n . "</li>\r\n";
    $n -= 1;
}
?>
<p align="center">
<?php echo date("Y-m-d"); ?>
</p>
