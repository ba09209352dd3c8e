#pragma once

#include "archive/Archive.h"

#include <QDialog>
#include <QList>

class IPageHost;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class TPanelArchive;

// "Архив": the panels the archive knows, one row each (object number,
// version line, memory type, last connection, journal records and runs,
// configurations). "Показать" accepts the dialog with the chosen panel and
// run of its journal (the newest offered first); "Удалить из архива" removes
// the chosen panel with everything kept of it, after a question.
class TArchivePanelDialog : public QDialog {
    Q_OBJECT
public:
    TArchivePanelDialog(TPanelArchive& archive, IPageHost& host, QWidget* parent = nullptr);

    // The choice, after the dialog was accepted.
    qint64 PanelId() const;
    QString Object() const;
    int Run() const;

    // Asked before a panel is removed.
    static QString RemoveQuestion(const TArchivePanel& panel);

    QTableWidget* Table() const { return PanelTable; }
    QComboBox* Runs() const { return RunCombo; }

private:
    void Refresh();
    void PanelChosen();
    void RemoveClicked();
    const TArchivePanel* Chosen() const;

    TPanelArchive& fArchive;
    IPageHost& fHost;
    QList<TArchivePanel> fPanels;

    QLabel* PathLabel = nullptr;
    QTableWidget* PanelTable = nullptr;
    QLabel* RunLabel = nullptr;
    QComboBox* RunCombo = nullptr;
    QPushButton* ShowButton = nullptr;
    QPushButton* RemoveButton = nullptr;
    QPushButton* CloseButton = nullptr;
};
