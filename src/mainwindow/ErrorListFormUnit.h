#pragma once

#include "pages/StringConsts.h"

#include <QStringList>
#include <QWidget>

class QLabel;
class QListWidget;

// The window that lists the parameters that failed in one page operation.
// It is not modal: the user goes on working and closes it when done; a
// later Show replaces what it shows.
class TErrorListForm : public QWidget {
    Q_OBJECT
public:
    explicit TErrorListForm(QWidget* parent = nullptr);

    void Show(const QStringList& ErrorList, TWorkMode Mode);

    QString Heading() const;
    QStringList Items() const;

private:
    QLabel* Label1;
    QListWidget* ErrorListBox;
};
