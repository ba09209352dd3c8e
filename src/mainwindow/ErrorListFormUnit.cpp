#include "ErrorListFormUnit.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

TErrorListForm::TErrorListForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("ErrorListForm"));
    setWindowTitle(QStringLiteral("Список ошибок"));
    resize(389, 291);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    ErrorListBox = new QListWidget(this);
    ErrorListBox->setObjectName(QStringLiteral("ErrorListBox"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(ErrorListBox, 1);
}

void TErrorListForm::Show(const QStringList& ErrorList, TWorkMode Mode) {
    if (Mode == wmRead)
        Label1->setText(QStringLiteral("При чтении страницы были ошибочно прочитаны следующие значения:"));
    else if (Mode == wmWrite)
        Label1->setText(QStringLiteral("При записи страницы были ошибочно записаны следующие значения:"));
    ErrorListBox->clear();
    ErrorListBox->addItems(ErrorList);
    show();
    raise();
}

QString TErrorListForm::Heading() const {
    return Label1->text();
}

QStringList TErrorListForm::Items() const {
    QStringList items;
    for (int i = 0; i < ErrorListBox->count(); ++i)
        items << ErrorListBox->item(i)->text();
    return items;
}
