#pragma once

#include "panel/DirectionRec.h"

#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The channel lists of the Channels page: which items a row offers, and how
// an item and the panel's channel type code turn into one another.
//
// All eight rows show the same item table. Which one depends on the panel's
// firmware release and on the GPRS-online switch: releases up to 32 know no
// voice call, and while GPRS-online is on the GPRS-offline types are not
// offered.
enum class TChannelTable {
    A, // releases 0..32, GPRS-online off: 6 items
    B, // releases 0..32, GPRS-online on: 4 items
    C, // releases 33..999, GPRS-online off: A and the voice call, 7 items
    D, // releases 33..999, GPRS-online on: B and the voice call, 5 items
};

// The list icons.
enum TChannelImage {
    ciNotUsed = 0,       // a red cross
    ciComputerPhone = 1, // a computer with a telephone
    ciMobile = 2,        // a mobile phone with radio waves
    ciMessage = 3,       // a green speech bubble
};

struct TChannelItem {
    QString Caption;
    int Image = ciNotUsed; // image, selected image and overlay image alike
    bool operator==(const TChannelItem&) const = default;
};

constexpr int ChannelRowCount = 8;
constexpr int ChannelNoItem = -1; // a list with no selection
constexpr int ChannelNoCode = -1; // a row with no kept channel code
// The channel type codes an entry can carry that no item writes: the code
// 7 (shown as item 6 of the GPRS-offline lists, as codes from 2 up are),
// 8 and 9. A row keeps such a code as the panel gave it.
constexpr int ChannelFirstKeptCode = 7;
constexpr int ChannelLastKeptCode = 9;

// A row's selected item, by row (index 0 = row 1).
using TChannelSelections = std::array<int, ChannelRowCount>;

const QList<TChannelItem>& ChannelItems(TChannelTable table);
int ChannelItemCount(TChannelTable table);
// The tables offered while GPRS-online is on (B and D).
bool IsGprsOnlineTable(TChannelTable table);

// The table for a release and the switch; none for a release below 0 or of
// 1000 and above, whose lists are left as they are.
std::optional<TChannelTable> ChannelTableFor(int release, bool gprsOnline);

// The release the lists are filled for when the page is created, before any
// panel has told its own.
constexpr int ChannelInitRelease = 100;

// Why the lists are filled again; it decides how each row keeps its choice.
enum class TFillReason {
    Init,       // the page is created
    Release,    // a panel of this release was connected
    GprsOnline, // the GPRS-online switch flipped
};

struct TChannelFill {
    TChannelTable Table;
    TChannelSelections Items;
    bool operator==(const TChannelFill&) const = default;
};

// The lists filled again for `release` and the switch's new state, with each
// row's new selection from its old one `items`:
// - after the switch flipped, every row keeps its channel type: the
//   GPRS-offline types, which the GPRS-online lists lack, become item 0
//   ("Не используется"); no selection becomes item 0;
// - otherwise a row keeps its item when the new list has it, else item 0.
// None when the release has no table: lists and selections stay as they are.
std::optional<TChannelFill> FillChannelLists(int release, bool gprsOnline, TFillReason reason,
                                             const TChannelSelections& items);

// The channel type code written for `item` of a list of `table`; 0 for no
// selection or an item the list does not have. The code follows the list the
// row shows, so what is written is always what the row says.
uint8_t ChannelCodeOf(TChannelTable table, int item);

// The item of a list of `table` that shows channel type `code`, for a row now
// on item `current`. A code the list cannot show otherwise leaves `current`:
// the GPRS-offline codes 3 and 4 in a GPRS-online list, and every code above
// 6. A code whose item lies past the list's end (the voice call in a list of
// a release without it) gives no selection.
int SelectChannelCode(TChannelTable table, int code, int current);

// Whether `code` is one a row keeps as it is (ChannelFirstKeptCode ..
// ChannelLastKeptCode).
bool IsKeptChannelCode(int code);
// The item a row with kept `code` shows in a list of `table`: item c - 1 of
// a GPRS-offline list when the list has it, else no selection.
int KeptCodeItem(TChannelTable table, int code);
