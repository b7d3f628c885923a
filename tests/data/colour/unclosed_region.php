<p class="x">text</p>
<?php echo "never closed"; if ($a) { return 1; }
