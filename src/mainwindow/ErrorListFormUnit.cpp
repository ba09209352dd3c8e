#include "ErrorListFormUnit.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TErrorListForm::TErrorListForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("ErrorListForm"));
    setWindowTitle(QStringLiteral("Список ошибок"));
    resize(560, 320);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    ErrorListBox = new QTreeWidget(this);
    ErrorListBox->setObjectName(QStringLiteral("ErrorListBox"));
    ErrorListBox->setColumnCount(2);
    ErrorListBox->setHeaderLabels({QStringLiteral("Параметр"), QStringLiteral("Причина")});
    ErrorListBox->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    ErrorListBox->setRootIsDecorated(true);
    ErrorListBox->setAccessibleName(QStringLiteral("Список ошибок"));
    Label1->setBuddy(ErrorListBox);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("ErrorListButtons"));
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("CloseButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(ErrorListBox, 1);
    layout->addWidget(buttons);
}

QString TErrorListForm::ReasonText(TFailReason reason, TWorkMode mode) {
    switch (reason) {
    case TFailReason::NoAnswer: return QStringLiteral("панель не ответила");
    case TFailReason::Refused:
        return mode == wmWrite ? QStringLiteral("панель не приняла значение")
                               : QStringLiteral("панель ответила без «OK»");
    case TFailReason::BadValue: break;
    }
    return mode == wmWrite ? QStringLiteral("значение не записано")
                           : QStringLiteral("значение, которое страница не может показать");
}

void TErrorListForm::Show(const QStringList& ErrorList, TWorkMode Mode) {
    QList<TErrorEntry> entries;
    for (const QString& name : ErrorList)
        entries.append({name, TFailReason::BadValue});
    Show(QString(), entries, Mode, false);
}

void TErrorListForm::Show(const QString& Page, const QList<TErrorEntry>& Entries, TWorkMode Mode, bool Append) {
    if (Mode == wmRead)
        Label1->setText(QStringLiteral("Не удалось прочитать следующие значения:"));
    else if (Mode == wmWrite)
        Label1->setText(QStringLiteral("Не удалось записать следующие значения:"));
    if (!Append)
        ErrorListBox->clear();
    auto* group = new QTreeWidgetItem({Page.isEmpty() ? QStringLiteral("Страница") : Page});
    QFont bold = group->font(0);
    bold.setBold(true);
    group->setFont(0, bold);
    group->setFirstColumnSpanned(true);
    for (const TErrorEntry& e : Entries)
        group->addChild(new QTreeWidgetItem({e.Name, ReasonText(e.Reason, Mode)}));
    ErrorListBox->addTopLevelItem(group);
    group->setExpanded(true);
    show();
    raise();
}

QString TErrorListForm::Heading() const {
    return Label1->text();
}

QStringList TErrorListForm::Items() const {
    QStringList items;
    for (int i = 0; i < ErrorListBox->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* group = ErrorListBox->topLevelItem(i);
        for (int j = 0; j < group->childCount(); ++j)
            items << group->child(j)->text(0);
    }
    return items;
}

QStringList TErrorListForm::Items(const QString& Page) const {
    QStringList items;
    for (int i = 0; i < ErrorListBox->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* group = ErrorListBox->topLevelItem(i);
        if (group->text(0) != Page)
            continue;
        for (int j = 0; j < group->childCount(); ++j)
            items << group->child(j)->text(0);
    }
    return items;
}

QStringList TErrorListForm::Reasons() const {
    QStringList reasons;
    for (int i = 0; i < ErrorListBox->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* group = ErrorListBox->topLevelItem(i);
        for (int j = 0; j < group->childCount(); ++j)
            reasons << group->child(j)->text(1);
    }
    return reasons;
}

void TErrorListForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
