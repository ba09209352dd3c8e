#pragma once

#include "AlarmButtonsCodec.h"
#include "AlarmTypeList.h"
#include "PageCommand.h"

#include <QStringList>

#include <array>
#include <optional>
#include <vector>

// Everything the Alarm buttons page shows, without its widgets, and its rules
// as functions over it. The alarm type lists are the same for both buttons
// and come from the event text table (AlarmTypeList.h); the functions that
// need them take them.
//
// A value read from the panel that the page cannot show (an event code no
// item carries, a hold time no item stands for) is kept exactly as read and
// written back unchanged until the user chooses another item; it is never
// silently replaced.

constexpr int AlarmButtonCount = 2;

struct TAlarmButton {
    bool Enabled = false;        // the button is in use; its other controls follow
    int Item = 0;                // in the alarm type list; -1 for no selection
    std::optional<int> KeptCode; // an event code read that no item carries (Item is -1)
    int Section = 0;             // 0..SectionMax
    int Loop = 0;                // 0..LoopMax
    bool operator==(const TAlarmButton&) const = default;
};

// A default-made state is the page right after it was created: both buttons
// not in use on item 0, section and loop 0, hold time item 0 ("1"), battery
// message not ticked.
struct TAlarmButtonsState {
    std::array<TAlarmButton, AlarmButtonCount> Buttons;
    int HoldTime = 0;                    // item 0..4; -1 for no selection
    std::optional<QString> KeptHoldTime; // a hold time read that no item stands for (HoldTime is -1)
    bool AkbMessage = false;
    bool operator==(const TAlarmButtonsState&) const = default;
};

// Defaults: both buttons not in use on item 0 with section and loop 0, hold
// time item 0, battery message ticked.
void ResetAlarmButtons(TAlarmButtonsState& state);

// Reads, each with the value line of its answer. Button n is 1 or 2. A
// function returning false means the value was unusable: the page lists
// the parameter as failed and its controls keep their values.
void ApplyReactionFlags(TAlarmButtonsState& state, const QString& value);
// A value of fewer than nine characters is ignored (true). A code no item
// carries is kept and the list shows no selection; section and loop are
// taken either way.
bool ApplyButtonValue(TAlarmButtonsState& state, int n, const QString& value, const TAlarmTypeItems& items);
bool ApplyHoldTime(TAlarmButtonsState& state, const QString& value);

// The user's choices, which drop a value kept from the panel.
void ChooseAlarmType(TAlarmButtonsState& state, int n, int item, const TAlarmTypeItems& items);
void ChooseHoldTime(TAlarmButtonsState& state, int item);

// The values written. Empty when there is nothing to write: a list with no
// selection and no kept value (the page sends nothing for it and lists the
// parameter as failed).
QString ReactionFlagsWriteValue(const TAlarmButtonsState& state);
QString ButtonWriteValue(const TAlarmButtonsState& state, int n, const TAlarmTypeItems& items);
QString HoldTimeWriteValue(const TAlarmButtonsState& state);

// The page's writes in order: "+X", "+n00", "+n02", "+presstime", each
// whether or not a button is in use. A write with nothing to send has an
// empty line.
std::vector<TPageCommand> AlarmButtonsWrites(const TAlarmButtonsState& state, const TAlarmTypeItems& items);

// The settings-file keys: a button's "Enable", "Alarm", "Section" or "Loop"
// with its number n, the hold time's and the battery message's.
QString AlarmButtonKey(const char* stem, int n);
QString HoldTimeKey();
QString AkbMessageKey();
// The keys of values kept from the panel that no item stands for: a
// button's event code ("AlarmCode<n>", four digits) and the hold time
// ("HoldTimeKept", as the panel gave it). A reader of the plain format
// ignores them and sees no selection (-1).
QString AlarmCodeKey(int n);
QString HoldTimeKeptKey();

// The settings-file lines: Enable<n>, Alarm<n> (the item number, not the
// event code; -1 for no selection), Section<n>, Loop<n> for both buttons,
// then HoldTime (item number) and AKBmessage. A value kept from the panel
// adds its line after its list's: AlarmCode<n> after the button's Loop<n>,
// HoldTimeKept after HoldTime.
QStringList AlarmButtonsSettings(const TAlarmButtonsState& state);

// Loads the page's keys. When any value is missing or not a decimal
// integer the page goes to its defaults instead and this returns false. -1
// loads as no selection; so does an item number past the end of its list
// (or below -1); section and loop are brought into their ranges. The lines
// of the values not taken as they stand (those items, sections and loops)
// go to `refused`. A list without selection takes the value kept for it
// (AlarmCode<n>, HoldTimeKept) when the file has one of the panel's form.
bool LoadAlarmButtonsSettings(TAlarmButtonsState& state, const QStringList& lines, int alarmTypeCount,
                              QStringList* refused = nullptr);
