#pragma once

#include "AlarmButtonsPage.h"
#include "PageFrame.h"

#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QSpinBox;
class QStyle;

// The Alarm buttons page: for each of the panel's two alarm buttons whether
// it is in use and the Contact ID event it reports (alarm type, section,
// loop); how long a button must be held before the message goes out; and
// whether the panel reports a discharged battery.
//
// The controls show a TAlarmButtonsPage. A value read from the panel that
// no list item stands for (an event code missing from the table, a hold
// time outside 1..5 s) leaves its list without a selection and is named in
// the list's placeholder and tool tip.
class TAlarmButtonsFrame : public TPageFrame {
    Q_OBJECT
public:
    explicit TAlarmButtonsFrame(IPageHost& host, QWidget* parent = nullptr);

    // The page's start values, then its lists.
    void Init() override;

    TAlarmButtonsPage& Page() const { return *fPage; }
    // The items both alarm type lists hold (after Init).
    const TAlarmTypeItems& AlarmTypes() const { return fPage->AlarmTypes(); }
    // What the page holds, with the values kept from the panel.
    const TAlarmButtonsState& State() const { return fPage->State(); }

    // Shared by both check boxes: button n's (1, 2) list, section and loop
    // follow its check box.
    void EnableCheck1Click(int n);

private:
    void BuildControls();
    QGroupBox* BuildButtonBox(int n, const QString& name);
    // Puts the page's state into the controls.
    void ShowState();
    // The placeholder and tool tip of a list: the value kept from the panel
    // while there is one.
    void ShowAlarmTypeHint(int n);
    void ShowHoldTimeHint();

    TAlarmButtonsPage* fPage;
    // The page's state is being put into the controls: their change
    // handlers leave the page alone.
    bool fShowing = false;
    QStyle* fDropDownStyle = nullptr;

    QGroupBox* AlarmButtonsSetGroup = nullptr;
    QGroupBox* ArarmButton1Box = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    std::array<QCheckBox*, AlarmButtonCount> EnableCheck{};
    std::array<QLabel*, AlarmButtonCount> AlarmTypeLabel{};
    std::array<QComboBox*, AlarmButtonCount> AlarmTypeCombo{};
    std::array<QLabel*, AlarmButtonCount> SectionLabel{};
    std::array<QSpinBox*, AlarmButtonCount> SectionSpin{};
    std::array<QLabel*, AlarmButtonCount> LoopLabel{};
    std::array<QSpinBox*, AlarmButtonCount> LoopSpin{};
    QLabel* HoldTimeLabel = nullptr;
    QComboBox* HoldTimeCombo = nullptr;
    QLabel* HoldTimeUnitLabel = nullptr;
    QCheckBox* AKBAlarmMessage = nullptr;
};
