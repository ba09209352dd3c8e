#include "MessageBoxes.h"

#include <QMessageBox>

namespace {
TMessagePresenter& Presenter() {
    static TMessagePresenter presenter;
    return presenter;
}
} // namespace

QString MessageBoxCaption() {
    return QStringLiteral("Tarvik-1");
}

void SetMessagePresenter(TMessagePresenter presenter) {
    Presenter() = std::move(presenter);
}

void ShowMessageBox(QWidget* parent, TBoxKind kind, const QString& text) {
    if (Presenter()) {
        Presenter()(parent, kind, text);
        return;
    }
    QMessageBox box(kind == TBoxKind::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                    MessageBoxCaption(), text, QMessageBox::Ok, parent);
    box.exec();
}
