#include "FrameCommands.h"

#include <QAction>
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
        {Cmd::ViewStatusBar, "状态栏(&S)", {}, "显示或隐藏状态栏\n显隐状态栏"},
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
                   Cmd::IndentWithSpaces})
        actions.value(id)->setCheckable(true);
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

QList<int> ViewItems(bool withDocument)
{
    QList<int> items = {Cmd::ViewToolbar, Cmd::ViewStatusBar, Cmd::ViewWorkspace, Cmd::ViewContextHelp,
                        Cmd::ViewFindResults, 0, Cmd::ViewPagePHP, Cmd::ViewPageCSS, Cmd::ViewPageHtml,
                        Cmd::ViewPageJavaScript, Cmd::ViewPageCodeBlock, Cmd::ViewPageLocalSite};
    if (withDocument)
        items << 0 << Cmd::ViewZoomIn << Cmd::ViewZoomOut << Cmd::ViewZoomReset;
    return items;
}
} // namespace

MenuBars BuildMenus(QWidget* parent, const QHash<int, QAction*>& a)
{
    MenuBars bars;
    bars.fileNoDoc = Menu(parent, QStringLiteral("文件(&F)"), a,
                          {Cmd::FileNew, Cmd::FileOpen, 0, Cmd::FilePrintSetup, 0,
                           Cmd::FileMruFirst, 0, Cmd::AppExit});
    bars.noDocument = {bars.fileNoDoc, Menu(parent, QStringLiteral("站点"), a, {Cmd::OpenSite, 0, Cmd::FindInFiles, Cmd::FindSymbol}),
                       Menu(parent, QStringLiteral("查看(&V)"), a, ViewItems(false)),
                       Menu(parent, QStringLiteral("帮助(&H)"), a, {Cmd::AppAbout})};

    bars.fileWithDoc = Menu(parent, QStringLiteral("文件(&F)"), a,
                            {Cmd::FileNew, Cmd::FileOpen, Cmd::OpenSite, Cmd::FileClose, Cmd::CloseAll, 0,
                             Cmd::FileSave, Cmd::FileSaveAs, Cmd::SaveAsCode, Cmd::SaveAll, 0,
                             Cmd::FilePrint, Cmd::FilePrintPreview, Cmd::FilePrintSetup, 0,
                             Cmd::FileMruFirst, 0, Cmd::AppExit});
    bars.window = Menu(parent, QStringLiteral("窗口(&W)"), a,
                       {Cmd::WindowNew, Cmd::WindowCascade, Cmd::WindowTile, Cmd::WindowArrange});
    bars.withDocument = {
        bars.fileWithDoc,
        Menu(parent, QStringLiteral("编辑(&E)"), a,
             {Cmd::EditUndo, 0, Cmd::EditCut, Cmd::EditCopy, Cmd::EditPaste, 0, Cmd::EditInsert,
              Cmd::EditRedo, Cmd::EditSelectAll, 0, Cmd::EditFind, Cmd::EditFindNext,
              Cmd::EditFindPrevious, Cmd::EditReplace, Cmd::EditGoToLine, 0, Cmd::GoToDefinition, Cmd::NavigateBack,
              Cmd::FindSymbol, 0, Cmd::CheckSyntax}),
        Menu(parent, QStringLiteral("查看(&V)"), a, ViewItems(true)),
        Menu(parent, QStringLiteral("设置(&O)"), a,
             {Cmd::NewCodeLib, Cmd::OpenCodeLib, Cmd::ImportCode, 0, Cmd::CodeStyle, Cmd::IndentWithSpaces}),
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
