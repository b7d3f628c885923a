<!DOCTYPE html>
<html>
<head>
<title>Home</title>
<style type="text/css">
body { font-family: "Tahoma"; color: #333; }
</style>
<script language="javascript">
function check(f) { if (f.name.value == "" || f.age.value < 1) { alert("\u8bf7"); return false; } return true; }
</script>
</head>
<body>
<!-- navigation -->
<a href="index.php">Home</a><br/>
<td width=100 align='left'>x=y</td>
<input type="button" onclick="if(a<b)x=1" value="Go">
<p title="unterminated
</body>
</html>
