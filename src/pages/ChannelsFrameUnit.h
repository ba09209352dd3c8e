#pragma once

#include "ChannelsCodec.h"
#include "ChannelsState.h"
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
// The page shows one TChannelsState: every change the user makes goes into
// it through the page's rules, and the controls are then brought in line
// with it.
class TChannelsFrame : public TPageFrame {
    Q_OBJECT
public:
    explicit TChannelsFrame(IPageHost& host, QWidget* parent = nullptr);

    void Init() override;
    void ReadPage() override;
    void WritePage() override;
    QString WriteQuestion() const override;
    void SetDefault() override;
    void GetSettings(QStringList& List) override;
    void SetSettings(const QStringList& List) override;
    QString SettingsCaption(const QString& key) const override;
    // The lists are filled for the connected panel's release; each row keeps
    // its channel type.
    void DevRelease(int Release) override;

    const TChannelsState& State() const { return fState; }

    // What the busy indicator says while the panel erases its journal.
    static QString EraseBusyText();

private:
    static constexpr int kRows = ChannelRowCount;
    static constexpr int kLinks = ChannelLinkCount;

    void BuildControls();
    void BuildRows();
    void DescribeParams();
    void LayoutColumns();
    // The controls brought in line with fState.
    void ShowState();
    void FillChannelLists();
    void NumberDirections();
    void MarkRow(int r, int n);

    // The user's changes.
    void GPRSOnlineCheckBoxClick(bool checked);
    void ChannelCombo1Change(int r, int item);
    void LogicAND1Click(int k, bool checked);
    void PhoneEdit1Change(int r, const QString& text);

    // The journal erase before a write; false when it could not even start
    // (the window is closing or the line is gone), so nothing may be sent.
    bool EraseHistory();

    TChannelsState fState;
    // The entries of the read in progress, by entry number; they start as
    // the rows show them, so an entry the panel does not give changes
    // nothing.
    TDirectionTable FDirection;
    std::optional<TChannelTable> fShownTable;
    bool fShowing = false;

    const TPageParam* fOnlineParam = nullptr;
    std::array<const TPageParam*, kRows> fEntryParams{};
    const TPageParam* fMoveParam = nullptr;

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
