#pragma once

#include "ChannelsCodec.h"
#include "ChannelsState.h"
#include "PageModel.h"

#include <array>

// The Channels page's values: where the panel reports its events. Eight
// reporting entries (a phone number or address and a channel type each),
// the AND/OR links that group them into directions, the GPRS-online switch,
// and what the panel does when an event cannot be delivered in a direction.
//
// The page holds one TChannelsState and its rules are the functions over it
// (ChannelsState.h). Writing the page erases the panel's event journal
// first, after the host's question; the rows are packed before they go out.
class TChannelsPage : public TPageModel {
    Q_OBJECT
public:
    explicit TChannelsPage(IPageHost& host, QObject* parent = nullptr);

    const TChannelsState& State() const { return fState; }

    TPageResult Read() override;
    TPageResult Write() override;
    QString WriteQuestion() const override;
    void SetDefault() override;
    QStringList Settings() const override;
    void LoadSettings(const QStringList& lines) override;
    QString SettingsCaption(const QString& key) const override;
    // The lists are filled for the connected panel's release; each row keeps
    // its channel type.
    void DevRelease(int release) override;
    std::optional<int> Release() const override;
    // The rows packed, as the write sends them.
    std::vector<TPanelValue> WriteValues() override;
    // The entries as the panel held them at the last read, gaps and
    // direction numbers as they came.
    std::vector<TPanelValue> HeldValues() override;

    // The user's changes: rows r = 1..8, links k = 1..7 (true AND).
    void SetGprsOnline(bool on);
    void ChooseChannel(int r, int item);
    void SetLink(int k, bool isAnd);
    void SetPhone(int r, const QString& text);
    void SetMove(int item);

    // What the busy indicator says while the panel erases its journal.
    static QString EraseBusyText();

    // Captions of the page's controls.
    static QString PhoneCaption(int r);   // "Телефон %1"
    static QString ChannelCaption(int r); // "Тип передачи данных %1"
    static QString AndCaption();          // "И"
    static QString OrCaption();           // "ИЛИ"
    static QString GprsOnlineCaption();   // "Включить GPRS-online"
    static QString MoveCaption();         // "Тип перехода по направлениям"

private:
    // The journal erase before a write; false when it could not even start
    // (the window is closing or the line is gone), so nothing may be sent.
    bool EraseHistory();
    // The user's change of the state.
    void Edit(const std::function<void(TChannelsState&)>& change);
    void SetState(const TChannelsState& state);
    // The switch, the entries and the moving-on rule as panel values.
    static std::vector<TPanelValue> PanelValues(const TChannelsState& state, const TDirectionTable& entries);

    TChannelsState fState;
    // The entries of the read in progress, by entry number; they start as
    // the rows show them, so an entry the panel does not give changes
    // nothing.
    TDirectionTable FDirection;
    TPageParam* fOnlineParam = nullptr;
    std::array<TPageParam*, ChannelRowCount> fEntryParams{};
    TPageParam* fMoveParam = nullptr;
};
