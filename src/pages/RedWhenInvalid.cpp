#include "RedWhenInvalid.h"

#include <QApplication>
#include <QLineEdit>
#include <QPalette>

namespace {

void Colour(QLineEdit* edit, bool valid) {
    QPalette p = edit->palette();
    if (valid)
        p.setBrush(QPalette::Text, QApplication::palette(edit).brush(QPalette::Text));
    else
        p.setColor(QPalette::Text, Qt::red);
    edit->setPalette(p);
    edit->setProperty("DrawnInvalid", !valid);
}

} // namespace

void RedWhenInvalid(QLineEdit* edit, std::function<bool(const QString&)> valid) {
    QObject::connect(edit, &QLineEdit::textChanged, edit,
                     [edit, valid](const QString& text) { Colour(edit, valid(text)); });
    Colour(edit, valid(edit->text()));
}

bool IsDrawnInvalid(const QLineEdit* edit) {
    return edit->property("DrawnInvalid").toBool();
}
