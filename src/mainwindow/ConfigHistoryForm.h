#pragma once

#include "archive/Archive.h"
#include "archive/ConfigArchive.h"

#include <QDialog>
#include <QList>

#include <vector>

class IPageHost;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class TPageModel;
class TPanelArchive;

// "История настроек": a panel's configurations from the archive, oldest
// first (number, time, read or written, the workstation's user). With one
// chosen, "Сравнить" shows where it differs from the pages (and offers to
// load it); with two, where they differ from each other. "Загрузить в
// страницы" puts the chosen one into the pages, to be written with the
// ordinary actions.
class TConfigHistoryForm : public QDialog {
    Q_OBJECT
public:
    TConfigHistoryForm(TPanelArchive& archive, IPageHost& host, std::vector<TPageModel*> pages,
                       const QString& object, QWidget* parent = nullptr);

    QComboBox* Panels() const { return PanelCombo; }
    QTableWidget* Table() const { return ConfigTable; }
    QPushButton* CompareButton() const { return CompareBtn; }
    QPushButton* LoadButton() const { return LoadBtn; }

    // The configurations listed for the chosen panel.
    const QList<TArchivedConfig>& Configs() const { return fConfigs; }

    void CompareClicked();
    void LoadClicked();

private:
    void PanelChosen();
    void SelectionChanged();
    QList<int> ChosenRows() const;
    static QString Describe(const TArchivedConfig& config);

    TPanelArchive& fArchive;
    IPageHost& fHost;
    std::vector<TPageModel*> fPages;
    QList<TArchivePanel> fPanels;
    QList<TArchivedConfig> fConfigs;

    QLabel* PanelLabel = nullptr;
    QComboBox* PanelCombo = nullptr;
    QTableWidget* ConfigTable = nullptr;
    QPushButton* CompareBtn = nullptr;
    QPushButton* LoadBtn = nullptr;
    QPushButton* CloseBtn = nullptr;
};
