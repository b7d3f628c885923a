<table border="0" cellpadding=2>
<?php for ($i = 0; $i < 10; $i++): ?>
<tr class='<?php echo $i % 2 ? "odd" : "even"; ?>'>
  <td><a href="item.php?id=<?php echo $i; ?>">Item <?php echo $i + 1; ?></a></td>
  <td style="width: 50%" bgcolor=<?php echo $colour; ?>>&nbsp;</td>
  <td><img src="<?=$img?>" alt=""></td>
</tr>
<?php endfor; ?>
</table>
<?php if ($more) { ?><a href='next.php?p=<?= $page + 1 ?>'>next</a><?php } ?>
