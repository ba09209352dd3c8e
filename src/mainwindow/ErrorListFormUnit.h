#pragma once

#include "pages/StringConsts.h"
#include "panel/PanelExchange.h"

#include <QList>
#include <QStringList>
#include <QWidget>

class QLabel;
class QTreeWidget;

// One failed parameter and why it failed.
struct TErrorEntry {
    QString Name;
    TFailReason Reason = TFailReason::BadValue;
};

// The window that lists the parameters that failed in a page operation,
// grouped by page, each with its reason. It is not modal: the user goes on
// working and closes it (Закрыть, Esc) when done. An operation over all
// pages adds a group per page; a new operation starts the list afresh.
class TErrorListForm : public QWidget {
    Q_OBJECT
public:
    explicit TErrorListForm(QWidget* parent = nullptr);

    // A page's failures with no reason known (each counts as a value the
    // page could not use).
    void Show(const QStringList& ErrorList, TWorkMode Mode);
    // A page's failures; Append adds the page's group to what is shown.
    void Show(const QString& Page, const QList<TErrorEntry>& Entries, TWorkMode Mode, bool Append);

    QString Heading() const;
    // The names listed, page after page; or one page's.
    QStringList Items() const;
    QStringList Items(const QString& Page) const;
    QStringList Reasons() const;

    static QString ReasonText(TFailReason reason, TWorkMode mode);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* Label1;
    QTreeWidget* ErrorListBox;
};
