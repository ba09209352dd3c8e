#include "Accessibility.h"

#include "PlainCaption.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

void NameGroupBoxes(QWidget* root) {
    for (QGroupBox* box : root->findChildren<QGroupBox*>()) {
        if (box->accessibleName().isEmpty())
            box->setAccessibleName(box->title());
    }
}

QString ControlCaption(const QWidget* control) {
    if (!control)
        return {};
    if (!control->accessibleName().isEmpty())
        return PlainCaption(control->accessibleName());
    for (const QLabel* label : control->window()->findChildren<QLabel*>()) {
        if (label->buddy() == control)
            return PlainCaption(label->text());
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return PlainCaption(button->text());
    if (const auto* box = qobject_cast<const QGroupBox*>(control))
        return PlainCaption(box->title());
    return {};
}
