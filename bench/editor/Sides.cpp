#include "Sides.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QSaveFile>
#include <QThreadPool>
#include <Qsci/qsciscintilla.h>

#include "CodeEditCtrl.h"
#include "ColourEditor.h"
#include "StyleFeeder.h"
#include "EditorHost.h"
#include "QuilletDoc.h"
#include "QuilletView.h"

namespace {
using Sci = QsciScintillaBase;

void ShowSized(QWidget* widget)
{
    widget->resize(kEditorWidth, kEditorHeight);
    widget->show();
    QCoreApplication::processEvents();
}
} // namespace

OursSide::OursSide()
{
    m_template.SetFrameFactory([](CQuilletDoc* doc, CQuilletView* source) {
        auto* view = new CQuilletView(doc, source);
        // The editor gets the benchmark's size; the ad pane sits above it.
        view->resize(kEditorWidth, kEditorHeight + view->AdPaneHeight());
        view->show();
        return view;
    });
    EditorHost::SetMainWindow(&m_mainWindow);
    m_pDoc = m_template.NewDocument();
    QCoreApplication::processEvents();
}

OursSide::~OursSide()
{
    EditorHost::SetMainWindow(nullptr);
    if (m_pDoc)
        m_pDoc->OnCloseDocument();
    QCoreApplication::processEvents();
}

bool OursSide::Open(const QString& path)
{
    const bool ok = m_pDoc && m_pDoc->OnOpenDocument(path);
    QCoreApplication::processEvents();
    return ok;
}

bool OursSide::Save(const QString& path)
{
    return m_pDoc && m_pDoc->OnSaveDocument(path);
}

CCodeEditCtrl* OursSide::Editor() const
{
    return m_pDoc ? m_pDoc->Editor() : nullptr;
}

QWidget* OursSide::KeyTarget() const
{
    return Editor();
}

BareSide::BareSide() : m_pEditor(std::make_unique<QsciScintilla>())
{
    m_pEditor->setUtf8(true);
    ShowSized(m_pEditor.get());
}

BareSide::~BareSide() = default;

bool BareSide::Open(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    QsciScintilla* e = m_pEditor.get();
    // The cheapest whole load Scintilla offers: no undo record of the text.
    e->SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 0UL);
    e->SendScintilla(Sci::SCI_CLEARALL);
    e->SendScintilla(Sci::SCI_ADDTEXT, static_cast<unsigned long>(bytes.size()), bytes.constData());
    e->SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 1UL);
    e->SendScintilla(Sci::SCI_EMPTYUNDOBUFFER);
    e->SendScintilla(Sci::SCI_SETSAVEPOINT);
    e->SendScintilla(Sci::SCI_GOTOPOS, 0UL);
    QCoreApplication::processEvents();
    return true;
}

bool BareSide::Save(const QString& path)
{
    QsciScintilla* e = m_pEditor.get();
    const auto length = static_cast<qsizetype>(e->SendScintilla(Sci::SCI_GETLENGTH));
    const auto* data = reinterpret_cast<const char*>(e->SendScintilla(Sci::SCI_GETCHARACTERPOINTER));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data, length) != length || !file.commit())
        return false;
    e->SendScintilla(Sci::SCI_SETSAVEPOINT);
    return true;
}

QWidget* BareSide::KeyTarget() const
{
    return m_pEditor.get();
}

void TypeCharacter(QWidget* target, char ch)
{
    const QString text(QLatin1Char{ch});
    const auto key = static_cast<Qt::Key>(QChar(ch).toUpper().unicode());
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
    QCoreApplication::processEvents();
}

ColourerInstalled::ColourerInstalled(bool install) : m_bInstalled(install)
{
    if (!install)
        return;
    EditorHost::SetRecolourer([passes = &m_nPasses](CCodeEditCtrl* editor) {
        ColourEditor::RecolourControl(editor);
        ++*passes;
    });
    // As the main window installs it: a long file's pass runs on a worker.
    EditorHost::SetAheadColourer([passes = &m_nPasses](const QByteArray& text) -> EditorHost::LoadColouring {
        auto apply = ColourEditor::ColourAhead(text);
        return [apply, passes](CCodeEditCtrl* editor, quint64 ticket) {
            apply(editor, ticket);
            ++*passes;
        };
    });
    EditorHost::SetAheadWaiter([](CCodeEditCtrl* editor) { return ColourEditor::AwaitAhead(editor); });
}

ColourerInstalled::~ColourerInstalled()
{
    if (!m_bInstalled)
        return;
    WaitForColours();
    EditorHost::SetRecolourer({});
    EditorHost::SetAheadColourer({});
    EditorHost::SetAheadWaiter({});
}

void ColourerInstalled::WaitForColours()
{
    // The pass from the worker, then its styles given a slice per turn.
    const auto feeding = [] {
        for (QWidget* w : QApplication::allWidgets())
            for (CStyleFeeder* feeder : w->findChildren<CStyleFeeder*>(Qt::FindDirectChildrenOnly))
                if (!feeder->Feed().Done())
                    return true;
        return false;
    };
    do {
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
    } while (feeding());
}
