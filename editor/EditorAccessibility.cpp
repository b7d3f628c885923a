#include "EditorAccessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>

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
