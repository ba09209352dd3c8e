#pragma once

#include "pages/SettingsCompare.h"

#include <QDialog>

#include <vector>

class QLabel;
class QPushButton;
class QTableView;
class TSettingsDifferenceModel;

// "Сравнение с файлом": the settings where a file differs from the pages,
// one row each (page, setting, value on the page, value in the file), read
// only. "Загрузить этот файл" accepts the dialog (the caller then loads the
// file), "Закрыть" rejects it; nothing changes before the user chooses.
class TSettingsCompareForm : public QDialog {
    Q_OBJECT
public:
    TSettingsCompareForm(const QString& path, std::vector<TSettingsDifference> rows,
                         QWidget* parent = nullptr);

    // Other words for what is compared: the title, the summary above the
    // table, and the load button's caption (empty: no load offered).
    void SetTexts(const QString& title, const QString& summary, const QString& loadCaption);

    TSettingsDifferenceModel* Model() const { return fModel; }
    QTableView* Table() const { return DifferencesView; }
    QPushButton* LoadButton() const { return LoadFileButton; }

private:
    TSettingsDifferenceModel* fModel = nullptr;
    QLabel* SummaryLabel = nullptr;
    QTableView* DifferencesView = nullptr;
    QPushButton* LoadFileButton = nullptr;
    QPushButton* CloseButton = nullptr;
};
