#pragma once

#include "ChannelItems.h"

#include <QString>

#include <array>

// The eight rows of the Channels page: a phone number or address and the
// selected item of the row's channel list. A row is free when its list
// shows item 0 ("Не используется"). The page keeps the used rows packed at
// the top; the links between rows belong to the positions and never move
// with the rows.

struct TChannelRow {
    QString Phone;
    int Item = 0; // ChannelNoItem for no selection
    // The panel's channel type code for a code no item writes (7, 8, 9),
    // kept as read and written back until the user chooses another item;
    // ChannelNoCode for none. It goes wherever the row's item goes.
    int KeptCode = ChannelNoCode;
    bool operator==(const TChannelRow&) const = default;
};

using TChannelRows = std::array<TChannelRow, ChannelRowCount>;

inline bool IsFreeRow(const TChannelRow& row) {
    return row.Item == 0 && row.KeptCode == ChannelNoCode;
}

// Row `r` (1..8) got a used item: for every free row b above it, from the
// top, row b takes row r's item, row r becomes free and the two rows trade
// their phone texts. The used row lands in the first free row above it; the
// phone texts of the further free rows in between rotate through row r.
void MoveRowUp(TChannelRows& rows, int r);

// Row `r` (1..8) became free or lost its selection: for k = r..7, when row
// k + 1 is not free, row k takes its item, row k + 1 becomes free and the two
// rows trade their phone texts. The free row sinks to the bottom and the used
// rows below it move up one place each.
void PullRowsUp(TChannelRows& rows, int r);

// What follows a new choice in row r's list: MoveRowUp for a used item (or
// a kept code), PullRowsUp for item 0 or no selection.
void KeepRowsPacked(TChannelRows& rows, int r);
