#include "Accessibility.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

namespace {

// A caption as one plain line: "&&" stays as "&", a lone "&" (a mnemonic
// mark) goes, line breaks become spaces, a closing ":" goes.
QString PlainCaption(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('&'))
                plain += text.at(++i);
            continue;
        }
        plain += text.at(i);
    }
    plain = plain.simplified();
    if (plain.endsWith(QLatin1Char(':')))
        plain.chop(1);
    return plain;
}

} // namespace

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
