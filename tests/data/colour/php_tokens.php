<?php
echo "a b".$b; // done
if($x==1){return true;}
elseif else if endif;
/* echo */
# comment
$a = 'x';
$i++; $i+=2;
ECHO echo True
3.14 0.5 0.0 007 1.2.3
$class foreach order endwhile forward
include_once require_once
=== !== ++ << => -> .= and or xor
( ) { } [ ] ; , ? : ^ \ "a\"b\""
?>
