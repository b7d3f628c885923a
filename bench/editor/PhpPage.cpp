#include "PhpPage.h"

#include <QFile>

#include "core/FileEncoding.h"

namespace PhpPage {

namespace {

const char* const kTitles[] = {"商品列表", "订单管理", "用户注册", "新闻中心", "留言板", "购物车"};
const char* const kFields[] = {"name", "price", "count", "email", "title", "content"};

// One section of a shop page: markup, a class with methods, a loop writing a
// table, a form with a check in JavaScript, comments in Chinese and English.
QByteArray Block(int n)
{
    const QByteArray i = QByteArray::number(n);
    const QByteArray title = kTitles[n % 6];
    const QByteArray field = kFields[n % 6];
    QByteArray b;
    b += "<!-- 第 " + i + " 节：" + title + " -->\n";
    b += "<div class=\"section\" id=\"sec" + i + "\" style=\"margin: 4px; color: #336699;\">\n";
    b += "  <h2 title=\"" + title + "\">" + title + " &raquo; " + i + "</h2>\n";
    b += "<?php\n";
    b += "/**\n";
    b += " * " + title + "的数据访问类 (section " + i + ")\n";
    b += " * @param array $rows 查询结果\n";
    b += " */\n";
    b += "class Section" + i + "Model extends BaseModel\n";
    b += "{\n";
    b += "\tvar $table = 'tbl_" + field + i + "';\n";
    b += "\tvar $pageSize = " + QByteArray::number(10 + n % 40) + ";\n";
    b += "\n";
    b += "\tfunction findAll($where = '', $order = 'id DESC')\n";
    b += "\t{\n";
    b += "\t\t$sql = \"SELECT id, " + field + ", created FROM {$this->table}\";\n";
    b += "\t\tif ($where != '') {\n";
    b += "\t\t\t$sql .= ' WHERE ' . $where;   // 调用方已转义\n";
    b += "\t\t}\n";
    b += "\t\t$result = mysql_query($sql . ' ORDER BY ' . $order, $this->db);\n";
    b += "\t\t$rows = array();\n";
    b += "\t\twhile ($row = mysql_fetch_assoc($result)) {\n";
    b += "\t\t\t$rows[] = $row;\n";
    b += "\t\t}\n";
    b += "\t\treturn $rows;\n";
    b += "\t}\n";
    b += "\n";
    b += "\tfunction total($items, $rate = 0.17)\n";
    b += "\t{\n";
    b += "\t\t$sum = 0.0;\n";
    b += "\t\tforeach ($items as $key => $item) {\n";
    b += "\t\t\tif ($item['price'] > 0 && $item['count'] != 0) {\n";
    b += "\t\t\t\t$sum += $item['price'] * $item['count'] * (1 + $rate);\n";
    b += "\t\t\t} else {\n";
    b += "\t\t\t\tcontinue; # 跳过赠品\n";
    b += "\t\t\t}\n";
    b += "\t\t}\n";
    b += "\t\treturn round($sum * 100) / 100;\n";
    b += "\t}\n";
    b += "}\n";
    b += "\n";
    b += "$model = new Section" + i + "Model($db);\n";
    b += "$rows = $model->findAll(\"status = 1\");\n";
    b += "echo '<p class=\"sum\">合计：' . number_format($model->total($rows), 2) . ' 元</p>';\n";
    b += "?>\n";
    b += "  <table width=\"100%\" border=\"0\" cellspacing=\"1\" cellpadding=\"3\" bgcolor=\"#CCCCCC\">\n";
    b += "    <tr bgcolor=\"#EEEEEE\"><th>编号</th><th>" + title + "</th><th>日期</th></tr>\n";
    b += "<?php foreach ($rows as $n => $row) { ?>\n";
    b += "    <tr class=\"<?php echo $n % 2 ? 'odd' : 'even'; ?>\">\n";
    b += "      <td><a href=\"view.php?id=<?=$row['id']?>&amp;sec=" + i + "\"><?=$row['id']?></a></td>\n";
    b += "      <td><?php echo htmlspecialchars($row['" + field + "']); ?></td>\n";
    b += "      <td><?php echo date('Y-m-d', $row['created']); ?></td>\n";
    b += "    </tr>\n";
    b += "<?php } ?>\n";
    b += "  </table>\n";
    b += "  <form name=\"f" + i + "\" method=\"post\" action=\"save.php\" onsubmit=\"return check" + i + "(this);\">\n";
    b += "    <input type=\"text\" name=\"" + field + "\" size=\"30\" maxlength=\"64\" value=\"\" />\n";
    b += "    <input type=\"submit\" value=\"提交\" />&nbsp;<input type=\"reset\" value=\"重填\" />\n";
    b += "  </form>\n";
    b += "  <script language=\"JavaScript\" type=\"text/javascript\">\n";
    b += "  function check" + i + "(form) {\n";
    b += "    if (form." + field + ".value == \"\") { alert(\"请输入" + title + "！\"); return false; }\n";
    b += "    return true;\n";
    b += "  }\n";
    b += "  </script>\n";
    b += "</div>\n\n";
    return b;
}

QByteArray Header()
{
    return "<?php\n"
           "// 网站首页：商品、订单与新闻\n"
           "require_once 'config.inc.php';\n"
           "session_start();\n"
           "header('Content-Type: text/html; charset=gb2312');\n"
           "?>\n"
           "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
           "<html>\n<head>\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\n"
           "<title>网上商城 - <?php echo $siteName; ?></title>\n"
           "<style type=\"text/css\">\n"
           "body { font-size: 12px; font-family: \"宋体\", Verdana; }\n"
           ".odd { background: #F7F7F7; } .even { background: #FFFFFF; }\n"
           "</style>\n"
           "</head>\n<body>\n";
}

} // namespace

const char* VariantName(Variant variant)
{
    switch (variant) {
    case Variant::Utf8Lf:
        return "utf8_lf";
    case Variant::Utf8CrLf:
        return "utf8_crlf";
    case Variant::GbkCrLf:
        return "gbk_crlf";
    }
    return "";
}

QByteArray Utf8Text(qsizetype bytes)
{
    QByteArray text = Header();
    text.reserve(bytes + 4096);
    for (int n = 1; text.size() < bytes; ++n)
        text += Block(n);
    text += "</body>\n</html>\n";
    return text;
}

QByteArray FileBytes(const QByteArray& utf8Lf, Variant variant)
{
    QByteArray text = utf8Lf;
    if (variant != Variant::Utf8Lf)
        text.replace("\n", "\r\n");
    if (variant == Variant::GbkCrLf)
        return FileEncoding::Utf8ToGb18030(text).value_or(QByteArray());
    return text;
}

QString WriteFile(const QString& dir, const QByteArray& utf8Lf, Variant variant)
{
    const QByteArray bytes = FileBytes(utf8Lf, variant);
    const QString path = dir + QStringLiteral("/page_") + QLatin1String(VariantName(variant)) +
                         QStringLiteral(".php");
    QFile file(path);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

} // namespace PhpPage
