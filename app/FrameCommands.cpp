#include "FrameCommands.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "CommandIds.h"
#include "ToolbarIcons.h"

namespace FrameCommands {

const QList<Info>& Table()
{
    using K = QKeySequence;
    static const QList<Info> table = {
        {Cmd::FileNew, "新建(&N)", {K(Qt::CTRL | Qt::Key_N)}, "建立新文档\n新建"},
        {Cmd::FileOpen, "打开(&O)...", {K(Qt::CTRL | Qt::Key_O)}, "打开一个现有文档\n打开"},
        {Cmd::FileSave, "保存(&S)", {K(Qt::CTRL | Qt::Key_S)}, "保存活动文档\n保存"},
        {Cmd::FileSaveAs, "另存为(&A)...", {}, "用新名称保存活动文档\n另存为"},
        {Cmd::SaveAsCode, "保存为代码...", {}, "保存为代码\n保存为代码"},
        {Cmd::SaveAll, "全部保存", {}, "保存所有修改过的文档\n全部保存"},
        {Cmd::FileClose, "关闭(&C)", {}, "关闭活动文档\n关闭"},
        {Cmd::CloseAll, "全部关闭", {}, "关闭所有文档\n全部关闭"},
        {Cmd::FilePrint, "打印(&P)...", {K(Qt::CTRL | Qt::Key_P)}, "打印活动文档\n打印"},
        {Cmd::FilePrintPreview, "打印预览(&V)", {}, "显示整页\n打印预览"},
        {Cmd::FilePrintSetup, "打印设置(&R)...", {}, "更改打印机选项\n打印设置"},
        {Cmd::FileMruFirst, "最近文件", {}, "打开该文档"},
        {Cmd::AppExit, "退出(&X)", {}, "退出应用程序；提示保存文档\n退出"},
        {Cmd::OpenSite, "打开站点", {}, "打开本地站点文件夹\n打开站点"},
        {Cmd::FindInFiles, "在文件中查找...", {K(Qt::CTRL | Qt::SHIFT | Qt::Key_F)}, "在一个文件夹的文件中查找文字\n在文件中查找"},
        {Cmd::FileReload, "重新载入(&L)", {K(Qt::CTRL | Qt::Key_R)}, "从磁盘重新读入活动文档\n重新载入"},
        {Cmd::LineBreakCrLf, "Windows (CRLF)", {}, "把活动文档的换行符都改为 CR LF\n换行符 CRLF"},
        {Cmd::LineBreakLf, "Unix (LF)", {}, "把活动文档的换行符都改为 LF\n换行符 LF"},
        {Cmd::LineBreakCr, "Mac (CR)", {}, "把活动文档的换行符都改为 CR\n换行符 CR"},
        {Cmd::EncodingUtf8, "UTF-8", {}, "以后用 UTF-8 保存活动文档\n编码 UTF-8"},
        {Cmd::EncodingGb18030, "GB18030", {}, "以后用 GB18030 保存活动文档\n编码 GB18030"},
        {Cmd::RestoreSession, "启动时恢复上次的文件", {}, "启动时重新打开上次退出时打开的文件和站点\n恢复上次的文件"},
        {Cmd::SitePreview, "预览", {K(Qt::Key_F5)}, "用 PHP 开发服务器运行站点，在浏览器中打开活动文件\n预览"},
        {Cmd::SiteStopPreview, "停止预览", {K(Qt::SHIFT | Qt::Key_F5)}, "停止预览服务器\n停止预览"},
        {Cmd::SiteOpenFile, "打开", {}, nullptr},
        {Cmd::SiteDeleteFile, "删除", {}, nullptr},
        {Cmd::SiteNewFolder, "新建文件夹", {}, nullptr},
        {Cmd::SiteDeleteFolder, "删除文件夹", {}, nullptr},
        {Cmd::SiteNewFile, "新建文件", {}, nullptr},
        {Cmd::SiteFindInFolder, "在文件中查找...", {}, "在这个文件夹的文件中查找文字\n在文件中查找"},
        {Cmd::EditUndo, "撤消(&U)", {K(Qt::CTRL | Qt::Key_Z), K(Qt::ALT | Qt::Key_Backspace)}, "撤消最后一步操作\n撤消"},
        {Cmd::EditCut, "剪切(&T)", {K(Qt::CTRL | Qt::Key_X), K(Qt::SHIFT | Qt::Key_Delete)}, "剪切所选内容，将其放入剪贴板\n剪切"},
        {Cmd::EditCopy, "复制(&C)", {K(Qt::CTRL | Qt::Key_C), K(Qt::CTRL | Qt::Key_Insert)}, "复制所选内容，将其放入剪贴板\n复制"},
        {Cmd::EditPaste, "粘贴(&P)", {K(Qt::CTRL | Qt::Key_V), K(Qt::SHIFT | Qt::Key_Insert)}, "插入剪贴板内容\n粘贴"},
        {Cmd::EditInsert, "插入(&I)", {K(Qt::CTRL | Qt::Key_I)}, "插入"},
        {Cmd::EditRedo, "重做(&R)", {K(Qt::CTRL | Qt::Key_Y), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}, "重做上一个撤消的操作\n重做"},
        {Cmd::EditSelectAll, "全选(&A)", {K(Qt::CTRL | Qt::Key_A)}, "选定整个文档\n全选"},
        {Cmd::EditFind, "查找(&F)...", {K(Qt::CTRL | Qt::Key_F)}, "查找指定的文字\n查找"},
        {Cmd::EditFindNext, "查找下一个(&N)", {K(Qt::Key_F3)}, "查找下一处上次查找的文字\n查找下一个"},
        {Cmd::EditFindPrevious, "查找上一个", {K(Qt::SHIFT | Qt::Key_F3)}, "查找上一处上次查找的文字\n查找上一个"},
        {Cmd::EditReplace, "替换(&E)...", {K(Qt::CTRL | Qt::Key_H)}, "用不同的文字替换指定的文字\n替换"},
        {Cmd::EditGoToLine, "转到行(&G)...", {K(Qt::CTRL | Qt::Key_G)}, "把插入点移到指定的行\n转到行"},
        {Cmd::GoToDefinition, "转到定义", {K(Qt::Key_F12)}, "转到光标处名称的定义\n转到定义"},
        {Cmd::NavigateBack, "返回", {K(Qt::ALT | Qt::Key_Left)}, "回到转到定义之前的位置\n返回"},
        {Cmd::FindSymbol, "查找符号...", {K(Qt::CTRL | Qt::Key_T)}, "按名称查找站点中的函数、类和常量\n查找符号"},
        {Cmd::CheckSyntax, "检查语法", {K(Qt::Key_F7)}, "用 PHP 检查活动文档的语法\n检查语法"},
        {Cmd::IndentWithSpaces, "按空格缩进", {}, "回车时照搬上一行的空格和制表符，“}”退回一级\n按空格缩进"},
        {Cmd::GrammarColouring, "按语法着色", {}, "按 PHP、HTML、JavaScript 和 CSS 各自的语法着色，边输入边着色\n按语法着色"},
        {Cmd::ViewWorkspace, "工作空间", {}, "显示或隐藏工作空间\n工作空间"},
        {Cmd::ViewContextHelp, "上下文帮助", {}, "设置上下文帮助\n上下文帮助"},
        {Cmd::ViewPagePHP, "PHP", {}, nullptr},
        {Cmd::ViewPageCSS, "CSS", {}, nullptr},
        {Cmd::ViewPageHtml, "Html", {}, nullptr},
        {Cmd::ViewPageJavaScript, "JavaScript", {}, nullptr},
        {Cmd::ViewPageCodeBlock, "CodeBlock", {}, nullptr},
        {Cmd::ViewPageLocalSite, "LocalSite", {}, nullptr},
        {Cmd::ViewToolbar, "工具栏(&T)", {}, "显示或隐藏工具栏\n显隐工具栏"},
        {Cmd::ViewFindResults, "查找结果", {}, "显示或隐藏查找结果窗格\n查找结果"},
        {Cmd::ViewZoomIn, "放大(&I)",
         {K(Qt::CTRL | Qt::Key_Equal), K(Qt::CTRL | Qt::Key_Plus), K(Qt::CTRL | Qt::KeypadModifier | Qt::Key_Plus)},
         "放大所有编辑窗口中的文字\n放大"},
        {Cmd::ViewZoomOut, "缩小(&O)", {K(Qt::CTRL | Qt::Key_Minus), K(Qt::CTRL | Qt::KeypadModifier | Qt::Key_Minus)},
         "缩小所有编辑窗口中的文字\n缩小"},
        {Cmd::ViewZoomReset, "恢复正常大小", {K(Qt::CTRL | Qt::Key_0), K(Qt::CTRL | Qt::KeypadModifier | Qt::Key_0)},
         "将所有编辑窗口中的文字恢复为正常大小\n正常大小"},
        {Cmd::ViewCodeFolding, "代码折叠", {}, "在编辑窗口左边显示折叠栏，可以折叠 PHP 的花括号和 HTML 元素\n代码折叠"},
        {Cmd::ViewFoldAll, "折叠全部", {}, "折叠活动文档的全部代码块\n折叠全部"},
        {Cmd::ViewUnfoldAll, "展开全部", {}, "展开活动文档的全部代码块\n展开全部"},
        {Cmd::ViewStatusBar, "状态栏(&S)", {}, "显示或隐藏状态栏\n显隐状态栏"},
        {Cmd::ViewDocumentTabs, "文档标签", {}, "在编辑窗口上方显示或隐藏文档标签\n文档标签"},
        {Cmd::ViewBraceMatching, "括号匹配", {}, "突出显示光标处的括号和与它配对的括号\n括号匹配"},
        {Cmd::ViewCurrentLine, "高亮当前行", {}, "突出显示光标所在的行\n高亮当前行"},
        {Cmd::ViewWhitespace, "显示空白", {}, "显示或隐藏空格和制表符\n显示空白"},
        {Cmd::ViewLineEnds, "显示换行符", {}, "显示或隐藏行尾的换行符\n显示换行符"},
        {Cmd::EditToggleComment, "切换注释", {K(Qt::CTRL | Qt::Key_Slash)}, "注释或取消注释当前行或所选的行\n切换注释"},
        {Cmd::EditMoveLineUp, "上移行", {K(Qt::ALT | Qt::Key_Up)}, "把当前行或所选的行上移一行\n上移行"},
        {Cmd::EditMoveLineDown, "下移行", {K(Qt::ALT | Qt::Key_Down)}, "把当前行或所选的行下移一行\n下移行"},
        {Cmd::EditDuplicateLine, "复制当前行", {K(Qt::CTRL | Qt::Key_D)}, "在下方插入当前行或所选各行的副本\n复制当前行"},
        {Cmd::AutoClose, "自动闭合", {}, "输入括号、引号或“</”时自动补上闭合的部分\n自动闭合"},
        {Cmd::TabWidth2, "2", {}, "制表符宽度为 2 列\n制表符宽度"},
        {Cmd::TabWidth4, "4", {}, "制表符宽度为 4 列\n制表符宽度"},
        {Cmd::TabWidth8, "8", {}, "制表符宽度为 8 列\n制表符宽度"},
        {Cmd::NewCodeLib, "新建代码库...", {}, nullptr},
        {Cmd::OpenCodeLib, "打开代码库...", {}, nullptr},
        {Cmd::ImportCode, "导入代码...", {}, nullptr},
        {Cmd::CodeStyle, "代码样式", {}, "代码样式\n设置代码样式"},
        {Cmd::InsertCode, "插入", {}, nullptr},
        {Cmd::NewCode, "新建", {}, nullptr},
        {Cmd::EditCode, "编辑", {}, nullptr},
        {Cmd::DeleteCode, "删除", {}, nullptr},
        {Cmd::WindowNew, "新建窗口(&N)", {}, "为活动文档打开另一个窗口\n新建窗口"},
        {Cmd::WindowCascade, "层叠(&C)", {}, "层叠排列窗口\n层叠窗口"},
        {Cmd::WindowTile, "平铺(&T)", {}, "将窗口平铺\n平铺窗口"},
        {Cmd::WindowArrange, "排列图标(&A)", {}, "排列窗口底部的图标\n排列图标"},
        {Cmd::AppAbout, "关于 Quillet(&A)...", {}, "显示程序信息、版本号和版权\n关于"},
        {Cmd::NextPane, "下一窗格",
         {K(Qt::Key_F6), K(Qt::CTRL | Qt::Key_F6), K(Qt::CTRL | Qt::Key_Tab)}, nullptr},
        {Cmd::PrevPane, "上一窗格",
         {K(Qt::SHIFT | Qt::Key_F6), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
          K(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)}, nullptr},
    };
    return table;
}

QHash<int, QAction*> CreateActions(QObject* owner)
{
    QHash<int, QAction*> actions;
    for (const Info& info : Table()) {
        auto* action = new QAction(QString::fromUtf8(info.text), owner);
        action->setData(info.id);
        action->setObjectName(QStringLiteral("cmd%1").arg(info.id));
        if (!info.keys.isEmpty()) {
            action->setShortcuts(info.keys);
            action->setShortcutContext(Qt::WindowShortcut);
        }
        if (info.statusTip) {
            // The prompt is the text before the line break; the tooltip after it.
            const QStringList parts = QString::fromUtf8(info.statusTip).split(u'\n');
            action->setStatusTip(parts.value(0));
            if (parts.size() > 1)
                action->setToolTip(parts.value(1));
        }
        const QIcon icon = ToolbarIcons::Icon(info.id);
        if (!icon.isNull())
            action->setIcon(icon);
        action->setIconVisibleInMenu(false);
        actions.insert(info.id, action);
    }
    for (int id : {Cmd::ViewWorkspace, Cmd::ViewContextHelp, Cmd::ViewPagePHP, Cmd::ViewPageCSS,
                   Cmd::ViewPageHtml, Cmd::ViewPageJavaScript, Cmd::ViewPageCodeBlock,
                   Cmd::ViewPageLocalSite, Cmd::ViewToolbar, Cmd::ViewStatusBar, Cmd::ViewFindResults,
                   Cmd::IndentWithSpaces, Cmd::ViewCodeFolding, Cmd::LineBreakCrLf, Cmd::LineBreakLf,
                   Cmd::LineBreakCr, Cmd::EncodingUtf8, Cmd::EncodingGb18030, Cmd::RestoreSession,
                   Cmd::ViewDocumentTabs, Cmd::ViewBraceMatching, Cmd::ViewCurrentLine, Cmd::ViewWhitespace,
                   Cmd::ViewLineEnds, Cmd::AutoClose, Cmd::TabWidth2, Cmd::TabWidth4, Cmd::TabWidth8,
                   Cmd::GrammarColouring})
        actions.value(id)->setCheckable(true);
    // One line break and one encoding at a time: shown as radio items.
    for (const QList<int>& ids : {QList<int>{Cmd::LineBreakCrLf, Cmd::LineBreakLf, Cmd::LineBreakCr},
                                  QList<int>{Cmd::EncodingUtf8, Cmd::EncodingGb18030}}) {
        auto* group = new QActionGroup(owner);
        group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        for (int id : ids)
            group->addAction(actions.value(id));
    }
    return actions;
}

namespace {
QMenu* Menu(QWidget* parent, const QString& title, const QHash<int, QAction*>& actions,
            const QList<int>& ids)
{
    auto* menu = new QMenu(title, parent);
    for (int id : ids) {
        if (id == 0)
            menu->addSeparator();
        else
            menu->addAction(actions.value(id));
    }
    return menu;
}

QMenu* SettingsMenu(QWidget* parent, const QHash<int, QAction*>& a)
{
    QMenu* menu = Menu(parent, QStringLiteral("设置(&O)"), a,
                       {Cmd::NewCodeLib, Cmd::OpenCodeLib, Cmd::ImportCode, 0, Cmd::CodeStyle,
                        Cmd::IndentWithSpaces, Cmd::GrammarColouring, Cmd::AutoClose, Cmd::RestoreSession});
    menu->addMenu(Menu(menu, QStringLiteral("制表符宽度"), a, {Cmd::TabWidth2, Cmd::TabWidth4, Cmd::TabWidth8}));
    return menu;
}

QList<int> ViewItems(bool withDocument)
{
    QList<int> items = {Cmd::ViewToolbar, Cmd::ViewStatusBar, Cmd::ViewWorkspace, Cmd::ViewContextHelp,
                        Cmd::ViewFindResults, 0, Cmd::ViewPagePHP, Cmd::ViewPageCSS, Cmd::ViewPageHtml,
                        Cmd::ViewPageJavaScript, Cmd::ViewPageCodeBlock, Cmd::ViewPageLocalSite};
    if (withDocument)
        items << 0 << Cmd::ViewZoomIn << Cmd::ViewZoomOut << Cmd::ViewZoomReset << 0 << Cmd::ViewCodeFolding
              << Cmd::ViewFoldAll << Cmd::ViewUnfoldAll;
    items << 0 << Cmd::ViewDocumentTabs << Cmd::ViewBraceMatching << Cmd::ViewCurrentLine << Cmd::ViewWhitespace
          << Cmd::ViewLineEnds;
    return items;
}
} // namespace

MenuBars BuildMenus(QWidget* parent, const QHash<int, QAction*>& a)
{
    MenuBars bars;
    bars.fileNoDoc = Menu(parent, QStringLiteral("文件(&F)"), a,
                          {Cmd::FileNew, Cmd::FileOpen, 0, Cmd::FilePrintSetup, 0,
                           Cmd::FileMruFirst, 0, Cmd::AppExit});
    bars.noDocument = {bars.fileNoDoc, Menu(parent, QStringLiteral("站点"), a,
                                            {Cmd::OpenSite, 0, Cmd::FindInFiles, Cmd::FindSymbol, 0,
                                             Cmd::SitePreview, Cmd::SiteStopPreview}),
                       Menu(parent, QStringLiteral("查看(&V)"), a, ViewItems(false)),
                       Menu(parent, QStringLiteral("帮助(&H)"), a, {Cmd::AppAbout})};

    bars.fileWithDoc = Menu(parent, QStringLiteral("文件(&F)"), a,
                            {Cmd::FileNew, Cmd::FileOpen, Cmd::OpenSite, Cmd::SitePreview, Cmd::SiteStopPreview,
                             Cmd::FileClose, Cmd::CloseAll, 0, Cmd::FileSave, Cmd::FileSaveAs, Cmd::SaveAsCode,
                             Cmd::SaveAll, Cmd::FileReload, 0, Cmd::FilePrint, Cmd::FilePrintPreview, Cmd::FilePrintSetup, 0,
                             Cmd::FileMruFirst, 0, Cmd::AppExit});
    // The active document's line breaks and encoding, as submenus before printing.
    QAction* print = a.value(Cmd::FilePrint);
    bars.fileWithDoc->insertMenu(print, Menu(parent, QStringLiteral("换行符"), a,
                                             {Cmd::LineBreakCrLf, Cmd::LineBreakLf, Cmd::LineBreakCr}));
    bars.fileWithDoc->insertMenu(print, Menu(parent, QStringLiteral("编码"), a,
                                             {Cmd::EncodingUtf8, Cmd::EncodingGb18030}));
    bars.fileWithDoc->insertSeparator(print);
    bars.window = Menu(parent, QStringLiteral("窗口(&W)"), a,
                       {Cmd::WindowNew, Cmd::WindowCascade, Cmd::WindowTile, Cmd::WindowArrange});
    bars.withDocument = {
        bars.fileWithDoc,
        Menu(parent, QStringLiteral("编辑(&E)"), a,
             {Cmd::EditUndo, 0, Cmd::EditCut, Cmd::EditCopy, Cmd::EditPaste, 0, Cmd::EditInsert,
              Cmd::EditRedo, Cmd::EditSelectAll, 0, Cmd::EditFind, Cmd::EditFindNext,
              Cmd::EditFindPrevious, Cmd::EditReplace, Cmd::EditGoToLine, 0, Cmd::GoToDefinition,
              Cmd::NavigateBack, Cmd::FindSymbol, 0, Cmd::EditToggleComment, Cmd::EditMoveLineUp,
              Cmd::EditMoveLineDown, Cmd::EditDuplicateLine, 0, Cmd::CheckSyntax}),
        Menu(parent, QStringLiteral("查看(&V)"), a, ViewItems(true)),
        SettingsMenu(parent, a),
        bars.window,
        Menu(parent, QStringLiteral("帮助(&H)"), a, {Cmd::AppAbout})};
    return bars;
}

QList<int> ToolbarOrder()
{
    return {Cmd::FileNew, Cmd::FileOpen, Cmd::FileSave, Cmd::SaveAll, 0, Cmd::EditCut,
            Cmd::EditCopy, Cmd::EditPaste, Cmd::EditFind, Cmd::EditReplace, 0, Cmd::FilePrint,
            Cmd::AppAbout, 0, Cmd::ComboSlot};
}

} // namespace FrameCommands
