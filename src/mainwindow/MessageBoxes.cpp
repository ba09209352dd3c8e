#include "MessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>

namespace {
TMessagePresenter& Presenter() {
    static TMessagePresenter presenter;
    return presenter;
}

QMessageBox::Icon IconOf(TBoxKind kind) {
    switch (kind) {
    case TBoxKind::Error: return QMessageBox::Critical;
    case TBoxKind::Question:
    case TBoxKind::QuestionCancel: return QMessageBox::Question;
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

namespace {

TAnswer Present(QWidget* parent, TBoxKind kind, const QString& text, const QString& detail) {
    if (Presenter())
        return Presenter()(parent, TMessage{kind, text, detail}).Answer;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    if (kind == TBoxKind::Question)
        buttons = QMessageBox::Yes | QMessageBox::No;
    else if (kind == TBoxKind::QuestionCancel)
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    QMessageBox box(IconOf(kind), MessageBoxCaption(), text, buttons, parent);
    // A plain question defaults to No; one that can be cancelled offers the
    // safe way first (Yes: keep a copy), Escape cancels it.
    if (kind == TBoxKind::Question)
        box.setDefaultButton(QMessageBox::No);
    else if (kind == TBoxKind::QuestionCancel) {
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
    }
    if (!detail.isEmpty())
        box.setInformativeText(detail);
    switch (box.exec()) {
    case QMessageBox::No: return TAnswer::No;
    case QMessageBox::Cancel: return TAnswer::Cancel;
    default: break;
    }
    return TAnswer::Yes;
}

} // namespace

bool ShowMessageBox(QWidget* parent, TBoxKind kind, const QString& text, const QString& detail) {
    const TAnswer answer = Present(parent, kind, text, detail);
    const bool question = kind == TBoxKind::Question || kind == TBoxKind::QuestionCancel;
    return !question || answer == TAnswer::Yes;
}

TAnswer AskMessageBox(QWidget* parent, const QString& text) {
    return Present(parent, TBoxKind::QuestionCancel, text, {});
}

void ShowAbout(QWidget* parent, const QString& title, const QString& text) {
    if (Presenter()) {
        Presenter()(parent, TMessage{TBoxKind::Plain, text, {}});
        return;
    }
    QMessageBox::about(parent, title, text);
}

TAnswer AskUnwrittenBox(QWidget* parent, const QString& text) {
    if (Presenter())
        return Presenter()(parent, TMessage{TBoxKind::QuestionCancel, text, {}}).Answer;
    QMessageBox box(QMessageBox::Question, MessageBoxCaption(), text, QMessageBox::NoButton, parent);
    QPushButton* write = box.addButton(QStringLiteral("Записать"), QMessageBox::YesRole);
    QPushButton* drop = box.addButton(QStringLiteral("Не записывать"), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(write);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == write)
        return TAnswer::Yes;
    if (box.clickedButton() == drop)
        return TAnswer::No;
    return TAnswer::Cancel;
}
