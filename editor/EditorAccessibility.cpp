#include "EditorAccessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <Qsci/qsciscintillabase.h>

#include <utility>

#include "CodeEditCtrl.h"

namespace {

// An editor's interface while no assistive technology is active: name, role
// and geometry, no text.
class CPlainEditorAccessible : public QAccessibleWidget
{
public:
    explicit CPlainEditorAccessible(QWidget* editor) : QAccessibleWidget(editor, QAccessible::EditableText) {}
};

// QAccessible::isActive() follows the platform's bridge; the activation
// reports also come from QAccessible::setActive, which has no bridge behind it.
bool g_bActive = false;

bool AssistiveTechnologyActive()
{
    return g_bActive || QAccessible::isActive();
}

QAccessibleInterface* Factory(const QString& className, QObject* object)
{
    // Qt asks with the most derived class name first; QScintilla's factory
    // answers only for its base class, further up.
    auto* editor = qobject_cast<CCodeEditCtrl*>(object);
    if (!editor || AssistiveTechnologyActive() || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    return new CPlainEditorAccessible(editor);
}

class CActivationWatch : public QAccessible::ActivationObserver
{
public:
    void accessibilityActiveChanged(bool active) override
    {
        g_bActive = active;
        if (!active)
            return;
        // Editors already shown hold a plain interface; without it Qt asks
        // the factories again, and QScintilla's answers.
        for (QWidget* widget : QApplication::allWidgets()) {
            if (!qobject_cast<CCodeEditCtrl*>(widget))
                continue;
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
            if (dynamic_cast<CPlainEditorAccessible*>(iface))
                QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
        }
    }
};

} // namespace

bool EditorAccessibility::IsActive()
{
    return AssistiveTechnologyActive();
}

namespace {

EditorAccessibility::EventSink g_sink = nullptr;

void Send(QAccessibleEvent* event)
{
    if (g_sink)
        g_sink(event);
    else
        QAccessible::updateAccessibility(event);
}

// The character offset of a byte position: the line's first character from
// the line character index (made on first use, then kept up to date by
// Scintilla), plus the characters before the position on its line.
int CharacterOffset(QsciScintillaBase* editor, int position)
{
    using B = QsciScintillaBase;
    if (!(editor->SendScintilla(B::SCI_GETLINECHARACTERINDEX) & B::SC_LINECHARACTERINDEX_UTF32))
        editor->SendScintilla(B::SCI_ALLOCATELINECHARACTERINDEX, static_cast<unsigned long>(B::SC_LINECHARACTERINDEX_UTF32));
    const long line = editor->SendScintilla(B::SCI_LINEFROMPOSITION, static_cast<unsigned long>(position));
    const long lineStart = editor->SendScintilla(B::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const long before = editor->SendScintilla(B::SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
                                              static_cast<long>(B::SC_LINECHARACTERINDEX_UTF32));
    return static_cast<int>(before + editor->SendScintilla(B::SCI_COUNTCHARACTERS, static_cast<unsigned long>(lineStart),
                                                           static_cast<long>(position)));
}

QString TextAt(QsciScintillaBase* editor, int position, int length)
{
    QByteArray bytes(length + 1, '\0');   // and the terminating NUL Scintilla writes
    editor->SendScintilla(QsciScintillaBase::SCI_GETTEXTRANGE, static_cast<long>(position),
                          static_cast<long>(position) + length, bytes.data());
    return QString::fromUtf8(bytes.constData(), length);
}

} // namespace

void EditorAccessibility::CChangeAnnouncer::OnChangeAhead(int type, int position, int length)
{
    Flush();
    if (!AssistiveTechnologyActive() || length <= 0)
        return;
    if (type & QsciScintillaBase::SC_MOD_BEFOREINSERT) {
        m_nInsertAt = position;
        m_nInsertLength = length;
        m_nInsertOffset = CharacterOffset(m_pEditor, position);
    } else if (type & QsciScintillaBase::SC_MOD_BEFOREDELETE) {
        QAccessibleTextRemoveEvent event(m_pEditor, CharacterOffset(m_pEditor, position),
                                         TextAt(m_pEditor, position, length));
        Send(&event);
    }
}

void EditorAccessibility::CChangeAnnouncer::Flush()
{
    if (m_nInsertAt < 0)
        return;
    const int at = std::exchange(m_nInsertAt, -1);
    QAccessibleTextInsertEvent event(m_pEditor, m_nInsertOffset, TextAt(m_pEditor, at, m_nInsertLength));
    Send(&event);
}

void EditorAccessibility::SetEventSinkForTests(EventSink sink)
{
    g_sink = sink;
}

void EditorAccessibility::Install()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(Factory);
    static CActivationWatch watch;
    QAccessible::installActivationObserver(&watch);
}
