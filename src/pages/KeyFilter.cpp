#include "KeyFilter.h"

#include "TypedText.h"

#include <QKeyEvent>
#include <QLineEdit>

TKeyFilter* TKeyFilter::Install(QLineEdit* edit, const QString& allowed, int maxTyped) {
    auto* filter = new TKeyFilter(edit, allowed, maxTyped);
    edit->setValidator(filter);
    edit->installEventFilter(filter);
    return filter;
}

TKeyFilter::TKeyFilter(QLineEdit* edit, QString allowed, int maxTyped)
    : QValidator(edit), fAllowed(std::move(allowed)), fMaxTyped(maxTyped) {}

QValidator::State TKeyFilter::validate(QString& input, int&) const {
    return TypedTextAllowed(input, fAllowed, fMaxTyped) ? Acceptable : Invalid;
}

bool TKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    // Printable characters outside the set are dropped here; editing and
    // clipboard keys pass, and what they insert meets validate().
    if (event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        for (const QChar c : text) {
            if (c.unicode() >= 0x20 && c.unicode() != 0x7F && !KeyAllowed(c, fAllowed))
                return true;
        }
    }
    return QValidator::eventFilter(watched, event);
}
