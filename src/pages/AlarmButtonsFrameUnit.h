#pragma once

#include "AlarmButtonsState.h"
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
// The controls show a TAlarmButtonsState, and the page's rules are the
// functions over it (AlarmButtonsState.h): a read takes the state the
// controls show, applies the panel's value and shows the result; a write
// sends what the state gives. A value read from the panel that no list item
// stands for (an event code missing from the table, a hold time outside
// 1..5 s) leaves its list without a selection, is named in the list's
// placeholder and tool tip, and is written back exactly as read until the
// user chooses an item.
class TAlarmButtonsFrame : public TPageFrame {
    Q_OBJECT
public:
    explicit TAlarmButtonsFrame(IPageHost& host, QWidget* parent = nullptr);

    void Init() override;
    void SetDefault() override;
    void GetSettings(QStringList& List) override;
    void SetSettings(const QStringList& List) override;
    QString SettingsCaption(const QString& key) const override;

    // The items both alarm type lists hold (after Init).
    const TAlarmTypeItems& AlarmTypes() const { return fAlarmTypes; }
    // What the controls show, with the values kept from the panel.
    TAlarmButtonsState State() const;

    // Shared by both check boxes: button n's (1, 2) list, section and loop
    // follow its check box.
    void EnableCheck1Click(int n);

private:
    void BuildControls();
    QGroupBox* BuildButtonBox(int n, const QString& name, const QString& title);
    void DescribeParams();
    // Puts a state into the controls.
    void Show(const TAlarmButtonsState& state);
    // A read: the value applied to the state shown; false (nothing changes)
    // when the value cannot be used.
    bool ShowRead(const std::function<bool(TAlarmButtonsState&)>& apply);
    // The placeholder and tool tip of a list: the value kept from the panel
    // while there is one.
    void ShowAlarmTypeHint(int n);
    void ShowHoldTimeHint();

    TAlarmTypeItems fAlarmTypes;
    // Values read from the panel that no item of their list stands for,
    // while the list shows no selection.
    std::array<std::optional<int>, AlarmButtonCount> FKeptCode;
    std::optional<QString> FKeptHoldTime;
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
