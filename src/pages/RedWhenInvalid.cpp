#include "RedWhenInvalid.h"

#include <QApplication>
#include <QLineEdit>
#include <QPalette>

namespace {

void Colour(QLineEdit* edit, bool valid, const QString& why) {
    QPalette p = edit->palette();
    if (valid)
        p.setBrush(QPalette::Text, QApplication::palette(edit).brush(QPalette::Text));
    else
        p.setColor(QPalette::Text, Qt::red);
    edit->setPalette(p);
    edit->setProperty("DrawnInvalid", !valid);
    if (why.isEmpty())
        return;
    // The edit's own tool tip is kept aside while the reason shows.
    if (!edit->property("ValidToolTip").isValid())
        edit->setProperty("ValidToolTip", edit->toolTip());
    edit->setToolTip(valid ? edit->property("ValidToolTip").toString() : why);
}

} // namespace

void RedWhenInvalid(QLineEdit* edit, std::function<bool(const QString&)> valid, const QString& why) {
    QObject::connect(edit, &QLineEdit::textChanged, edit,
                     [edit, valid, why](const QString& text) { Colour(edit, valid(text), why); });
    Colour(edit, valid(edit->text()), why);
}

bool IsDrawnInvalid(const QLineEdit* edit) {
    return edit->property("DrawnInvalid").toBool();
}
