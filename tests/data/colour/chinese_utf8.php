<html>
<head><title>留言板</title></head>
<body>
<h1 title="欢迎光临">欢迎光临本站！</h1>
<?php
// 显示最近的留言
$标题 = "最新留言";
echo "<p>共有" . $count . "条留言</p>";
if ($count == 0) { echo '暂无留言'; }
?>
<p>版权所有 © 2004 <a href="mailto:webmaster@example.com">站长</a></p>
</body>
</html>
