// 转到定义 (F12, Ctrl+click on a name), 返回 (Alt+Left, as many steps back as
// jumps were made) and 查找符号 (Ctrl+T) over the site symbol index. A PHP
// function of PHP's own goes to its entry on the PHP reference page.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <string>

class CCodeEditCtrl;
class CDocTemplate;
class CQuilletDoc;
class CSymbolIndex;
class IFrameAccess;
struct CSymbolRef;

class CSymbolNavigation : public QObject
{
    Q_OBJECT
public:
    static constexpr int kMaxBackSteps = 64;

    CSymbolNavigation(IFrameAccess* frame, CDocTemplate* docTemplate, CSymbolIndex* index, QObject* parent);

    void OnGoToDefinition();
    void OnNavigateBack();
    void OnFindSymbol();
    // Opens path (or brings it forward) and puts the caret on line, at name
    // when the line holds it; remember: the place left can be gone back to.
    bool Jump(const QString& path, int line, const std::string& name, bool remember = true);
    // Puts editor's caret on line (at name when the line holds it), shows it and gives it the focus.
    void ShowLine(CCodeEditCtrl* editor, int line, const std::string& name, bool remember);
    int BackSteps() const { return int(m_back.size()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Place {
        QPointer<CQuilletDoc> doc;
        QString path;
        int line;
        int index;
    };
    void Remember();
    void JumpTo(const CSymbolRef& ref);
    bool ShowBuiltin(const QString& name);

    IFrameAccess* m_pFrame;
    CDocTemplate* m_pDocTemplate;
    CSymbolIndex* m_pIndex;
    QList<Place> m_back;
};
