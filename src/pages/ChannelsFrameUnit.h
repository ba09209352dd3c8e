#pragma once

#include "ChannelsPage.h"
#include "PageFrame.h"

#include <array>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QHeaderView;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollArea;
class QStandardItemModel;

// The Channels page: where the panel reports its events. Eight reporting
// entries (a phone number or address and a channel type each), the AND/OR
// links that group them into directions, the GPRS-online switch, and what
// the panel does when an event cannot be delivered in a direction. Writing
// the page erases the panel's event journal first, after a question.
//
// The page shows a TChannelsPage: every change the user makes goes into it
// through the page's rules, and the controls are then brought in line with
// its state.
class TChannelsFrame : public TPageFrame {
    Q_OBJECT
public:
    explicit TChannelsFrame(IPageHost& host, QWidget* parent = nullptr);

    void Init() override;

    TChannelsPage& Page() const { return *fPage; }
    const TChannelsState& State() const { return fPage->State(); }

    // What the busy indicator says while the panel erases its journal.
    static QString EraseBusyText() { return TChannelsPage::EraseBusyText(); }

private:
    static constexpr int kRows = ChannelRowCount;
    static constexpr int kLinks = ChannelLinkCount;

    void BuildControls();
    void BuildRows();
    void LayoutColumns();
    // The controls brought in line with the page's state.
    void ShowState();
    void FillChannelLists();
    void NumberDirections();
    void MarkRow(int r, int n);

    // The user's changes.
    void GPRSOnlineCheckBoxClick(bool checked);
    void ChannelCombo1Change(int r, int item);
    void LogicAND1Click(int k, bool checked);
    void PhoneEdit1Change(int r, const QString& text);

    TChannelsPage* fPage;
    std::optional<TChannelTable> fShownTable;
    bool fShowing = false;

    QScrollArea* ScrollBox = nullptr;
    QGroupBox* ChannelsGroupBox = nullptr;
    QCheckBox* GPRSOnlineCheckBox = nullptr;
    QHeaderView* HeaderControl1 = nullptr;
    QStandardItemModel* HeaderSections = nullptr;
    QWidget* PPanel = nullptr;
    std::array<QLabel*, kRows> Label{};
    std::array<QLineEdit*, kRows> PhoneEdit{};
    std::array<QComboBox*, kRows> ChannelCombo{};
    std::array<QWidget*, kLinks> LogicPanel{};
    std::array<QRadioButton*, kLinks> LogicAND{};
    std::array<QRadioButton*, kLinks> LogicOR{};
    QGroupBox* MoveGroup = nullptr;
    QButtonGroup* MoveButtons = nullptr;
    int fRowHeight = 0;
    int fLinkHeight = 0;
};
