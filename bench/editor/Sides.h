// The two sides each benchmark compares: our document and editor control, and
// a bare QsciScintilla with no handlers doing the same file and key work.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "DocTemplate.h"

class CCodeEditCtrl;
class CQuilletDoc;
class CQuilletView;
class QsciScintilla;
class QWidget;

constexpr int kEditorWidth = 800;
constexpr int kEditorHeight = 600;

// Our side: a document of a CDocTemplate shown in a CQuilletView (a plain
// top-level window instead of an MDI child).
class OursSide
{
public:
    OursSide();
    ~OursSide();

    // CQuilletDoc::OnOpenDocument, then the events it left (painting, the caret report).
    bool Open(const QString& path);
    // CQuilletDoc::OnSaveDocument.
    bool Save(const QString& path);

    CCodeEditCtrl* Editor() const;
    QWidget* KeyTarget() const;

private:
    CDocTemplate m_template;
    CQuilletDoc* m_pDoc = nullptr;
    QObject m_mainWindow;   // receives the caret reports as the main frame would
};

// The control: a QsciScintilla in UTF-8 mode, nothing connected to it.
class BareSide
{
public:
    BareSide();
    ~BareSide();

    // Reads the file and puts its bytes into the control as they are.
    bool Open(const QString& path);
    // Writes the control's bytes (SCI_GETCHARACTERPOINTER) through QSaveFile.
    bool Save(const QString& path);

    QsciScintilla* Editor() const { return m_pEditor.get(); }
    QWidget* KeyTarget() const;

private:
    std::unique_ptr<QsciScintilla> m_pEditor;
};

// One typed character as the window system delivers it: a key press and its
// release sent to target, then every event they caused (painting, posted
// reports, deferred checks).
void TypeCharacter(QWidget* target, char ch);

// Colours with the real colourer on every EditorHost::Recolour while alive.
class ColourerInstalled
{
public:
    explicit ColourerInstalled(bool install);
    ~ColourerInstalled();

    // Colouring passes run since this was created.
    int Passes() const { return m_nPasses; }
    // Until the passes running on worker threads have given their styles.
    static void WaitForColours();

private:
    bool m_bInstalled;
    int m_nPasses = 0;
};
