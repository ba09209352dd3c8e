#include "ChannelRows.h"

#include <utility>

namespace {

TChannelRow& Row(TChannelRows& rows, int r) {
    return rows[std::size_t(r - 1)];
}

} // namespace

void MoveRowUp(TChannelRows& rows, int r) {
    if (r < 1 || r > ChannelRowCount)
        return;
    TChannelRow& moved = Row(rows, r);
    for (int b = 1; b < r; ++b) {
        TChannelRow& row = Row(rows, b);
        if (!IsFreeRow(row))
            continue;
        row.Item = moved.Item;
        row.KeptCode = moved.KeptCode;
        moved.Item = 0;
        moved.KeptCode = ChannelNoCode;
        std::swap(row.Phone, moved.Phone);
    }
}

void PullRowsUp(TChannelRows& rows, int r) {
    if (r < 1 || r > ChannelRowCount)
        return;
    for (int k = r; k < ChannelRowCount; ++k) {
        TChannelRow& upper = Row(rows, k);
        TChannelRow& lower = Row(rows, k + 1);
        if (IsFreeRow(lower))
            continue;
        upper.Item = lower.Item;
        upper.KeptCode = lower.KeptCode;
        lower.Item = 0;
        lower.KeptCode = ChannelNoCode;
        std::swap(upper.Phone, lower.Phone);
    }
}

void KeepRowsPacked(TChannelRows& rows, int r) {
    if (r < 1 || r > ChannelRowCount)
        return;
    const TChannelRow& row = Row(rows, r);
    if (row.Item > 0 || row.KeptCode != ChannelNoCode)
        MoveRowUp(rows, r);
    else
        PullRowsUp(rows, r);
}
