#include "MessageBoxes.h"

#include <QMessageBox>

namespace {
TMessagePresenter& Presenter() {
    static TMessagePresenter presenter;
    return presenter;
}

QMessageBox::Icon IconOf(TBoxKind kind) {
    switch (kind) {
    case TBoxKind::Error: return QMessageBox::Critical;
    case TBoxKind::Question: return QMessageBox::Question;
    case TBoxKind::Plain: break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

QString MessageBoxCaption() {
    return QStringLiteral("Tarvik-1");
}

void SetMessagePresenter(TMessagePresenter presenter) {
    Presenter() = std::move(presenter);
}

bool ShowMessageBox(QWidget* parent, TBoxKind kind, const QString& text, const QString& detail) {
    if (Presenter())
        return Presenter()(parent, TMessage{kind, text, detail});
    const bool question = kind == TBoxKind::Question;
    QMessageBox box(IconOf(kind), MessageBoxCaption(), text,
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    if (question)
        box.setDefaultButton(QMessageBox::No);
    if (!detail.isEmpty())
        box.setInformativeText(detail);
    const int answer = box.exec();
    return !question || answer == QMessageBox::Yes;
}
