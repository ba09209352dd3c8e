#pragma once

#include <QString>

#include <array>
#include <cstdint>

// Directions of the Channels page: the seven AND/OR links between
// neighbouring rows group the eight rows. Rows joined by OR are alternatives
// for one another and share a direction; every AND starts the next one.

constexpr int ChannelLinkCount = 7;

// Link k (index 0 = link 1, between rows 1 and 2): true for AND, false for OR.
using TChannelLinks = std::array<bool, ChannelLinkCount>;
// A direction number by row (index 0 = row 1).
using TRowDirections = std::array<int, ChannelLinkCount + 1>;

// Row 1 is in direction 1; every AND link adds one for the rows below it.
// The numbers run from 1 without gaps.
TRowDirections NumberDirections(const TChannelLinks& links);

struct TRgb {
    uint8_t R = 255;
    uint8_t G = 255;
    uint8_t B = 255;
    bool operator==(const TRgb&) const = default;
};

// The background of the phone edits of direction `n` (1..8); white for any
// other number.
TRgb DirectionColour(int n);
// The row's label: "Направление <n>".
QString DirectionLabel(int n);
