#pragma once

#include "ChannelDirections.h"
#include "ChannelItems.h"
#include "ChannelRows.h"
#include "PageCommand.h"
#include "panel/DirectionRec.h"

#include <QStringList>

#include <vector>

// Everything the Channels page shows, without its widgets: the eight rows,
// the seven links, the GPRS-online switch, the moving-on choice, the table
// the channel lists hold and the panel release they were filled for. The
// page is a view of one of these; every rule of the page is a function
// over it.
//
// A default-made state is the page right after it was created: lists of
// the release-100 table without GPRS-online, every row on "Не используется",
// every link OR, move item 0, no panel release known yet.
struct TChannelsState {
    TChannelRows Rows;
    TChannelLinks LinkAnd{}; // all OR
    bool GprsOnline = false;
    int Move = 0; // 0 stay in the direction, 1 move on to the next
    TChannelTable Table = TChannelTable::C;
    int DevRelease = 0; // as last connected; 0 before the first connection
    // Whether a panel has told its release; until one has, the lists are
    // filled as for the release the page was created with, so that a row
    // keeps its channel type (a voice call loaded from a file) until a
    // connected panel's release says otherwise.
    bool ReleaseKnown = false;

    bool operator==(const TChannelsState&) const = default;
};

// The rows' direction numbers, from the links.
TRowDirections RowDirections(const TChannelsState& state);

// A panel of `release` was connected: the release is kept and the lists are
// filled for it, each row keeping its channel type. A release below 0 or of
// 1000 and above leaves the lists as they are.
void SetDevRelease(TChannelsState& state, int release);

// The GPRS-online switch set to `on`; when it flips, the lists are filled
// again for the kept release (before any panel told one, the release the
// lists were first filled for) and every row keeps its channel type.
void SetGprsOnline(TChannelsState& state, bool on);

// The user chose `item` in row r's list (1..8); the used rows stay packed.
void ChooseChannel(TChannelsState& state, int r, int item);

// Entries read from the panel shown in the rows as they come, gaps
// included: phones, channel types (a type the list cannot show leaves the
// row's item), and OR between neighbours of the same direction number, AND
// where it changes. The rows are then numbered from the links, so the page
// shows and writes directions numbered from 1 without gaps whatever numbers
// the panel held.
void ShowDirections(TChannelsState& state, const TDirectionTable& entries);

// The packing that comes before a write: for r = 2..8, a free row r gets an
// OR link above it, then row r is handled as if the user had just chosen
// its item.
void PackRows(TChannelsState& state);

// The entries as they are written: direction numbers from the links, the
// place of each row inside its direction, the rows' channel type codes and
// phone texts. All eight, free rows included.
TDirectionTable CollectDirections(const TChannelsState& state);

// The page's writes after the erase and the packing, in order: the
// GPRS-online switch, the eight entries, the moving-on rule.
std::vector<TPageCommand> ChannelsWrites(const TChannelsState& state);
// The same with the entries given (as a read found them).
std::vector<TPageCommand> ChannelsWrites(const TChannelsState& state, const TDirectionTable& entries);

// Defaults: GPRS-online off (the lists follow it), every phone empty, every
// row on item 0, every link OR, move item 0. The release stays.
void ResetChannels(TChannelsState& state);

// The settings-file keys: row r's phone and channel type (r = 1..8) and,
// for a row keeping a code no item writes, that code, the
// link k between rows k and k + 1 (k = 1..7), the GPRS-online switch, the
// moving-on rule.
QString ChannelsPhoneKey(int r);
QString ChannelsComboKey(int r);
// Row r's kept channel code, only for a row that has one.
QString ChannelsCodeKey(int r);
QString ChannelsLinkKey(int k);
QString ChannelsOnlineKey();
QString ChannelsMoveKey();

// The settings-file lines: CPhone<r> and CCombo<r> for every row (item
// numbers of the lists as they stand, -1 for no selection), logicAND<k> for
// every link, Online, Move.
QStringList ChannelsSettings(const TChannelsState& state);

// Loads the page's keys from settings-file lines. Every numeric value
// (CCombo, logicAND, Online, Move) must be a decimal integer; when one is
// missing or is not, the page goes to its defaults instead and this returns
// false. Online comes first, so the lists match the item numbers saved with
// it; an item number the list does not have leaves the row with no
// selection; a missing phone empties the row's phone; Move is kept to 0..1.
bool LoadChannelsSettings(TChannelsState& state, const QStringList& lines);
