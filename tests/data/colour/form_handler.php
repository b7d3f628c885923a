<?php
// Handles the contact form: checks the fields and stores the message.
require_once "config.php";
include "db.php";

function check_email($email) {
    return preg_match("/^[a-z0-9._-]+@[a-z0-9.-]+$/i", $email) == 1;
}

$errors = array();
if ($_SERVER["REQUEST_METHOD"] == "POST") {
    $name = trim($_POST["name"]);
    $email = trim($_POST['email']);
    if ($name == "" || strlen($name) > 40) {
        $errors[] = "Please enter your name.";
    }
    if (!check_email($email)) {
        $errors[] = "Invalid address: " . htmlspecialchars($email);
    }
    if (count($errors) == 0) {
        $db = new Database($config);
        $db->query("INSERT INTO messages (name, email) VALUES ('" . $db->escape($name) . "', '" . $db->escape($email) . "')");
        header("Location: thanks.php");
        exit;
    }
}
?>
<html>
<body>
<?php foreach ($errors as $e) { ?>
<p class="error"><?php echo $e; ?></p>
<?php } ?>
<form method="post" action="<?php echo $_SERVER['PHP_SELF']; ?>">
Name: <input type="text" name="name" size=30 value="<?= $name ?>"><br/>
E-mail: <input type="text" name="email" value='<?php echo $email; ?>'>
<input type="submit" value="Send">
</form>
</body>
</html>
