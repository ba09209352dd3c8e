#include "ComponentKind.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include <algorithm>

namespace {

bool ShownInMenu(const QAction* action) {
    const QList<QObject*> users = action->associatedObjects();
    return std::any_of(users.begin(), users.end(),
                       [](const QObject* user) { return qobject_cast<const QMenu*>(user) != nullptr; });
}

void CollectOwned(const QObject* parent, QList<QObject*>& components) {
    for (QObject* child : parent->children()) {
        if (const auto* widget = qobject_cast<const QWidget*>(child)) {
            if (widget->property(kNotStoredProperty).toBool())
                continue;
            if (widget->isWindow() && !qobject_cast<const QMenu*>(widget))
                continue;
        }
        const QString name = child->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")))
            components.append(child);
        CollectOwned(child, components);
    }
}

} // namespace

TComponentKind ComponentKind(const QObject* component) {
    if (!component)
        return TComponentKind::None;
    if (const auto* action = qobject_cast<const QAction*>(component)) {
        if (action->objectName().endsWith(QLatin1String("Action")))
            return TComponentKind::Action;
        return ShownInMenu(action) ? TComponentKind::MenuItem : TComponentKind::None;
    }
    if (qobject_cast<const QMenu*>(component))
        return TComponentKind::MenuItem;
    if (qobject_cast<const QCheckBox*>(component))
        return TComponentKind::CheckBox;
    if (qobject_cast<const QRadioButton*>(component))
        return TComponentKind::RadioButton;
    if (qobject_cast<const QPushButton*>(component))
        return TComponentKind::Button;
    if (qobject_cast<const QLabel*>(component))
        return TComponentKind::Label;
    if (qobject_cast<const QListWidget*>(component))
        return TComponentKind::ListBox;
    if (qobject_cast<const QComboBox*>(component))
        return TComponentKind::ComboBox;
    if (qobject_cast<const QPlainTextEdit*>(component) || qobject_cast<const QTextEdit*>(component))
        return TComponentKind::Memo;
    const QMetaObject* meta = component->metaObject();
    if (meta == &QWidget::staticMetaObject || meta == &QFrame::staticMetaObject)
        return TComponentKind::Panel;
    return TComponentKind::None;
}

QList<QObject*> OwnedComponents(const QWidget* window) {
    QList<QObject*> components;
    if (window)
        CollectOwned(window, components);
    return components;
}
