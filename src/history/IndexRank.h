#pragma once

#include <cstdint>
#include <vector>

// A set of 16-bit journal indexes that answers, without scanning, how many
// members lie below an index (its row in index order) and which member
// stands at a row. A Fenwick tree over the 65 536 possible indexes: every
// operation takes 16 steps.
class TIndexRank {
public:
    static constexpr int kIndexes = 65536;

    bool Contains(uint16_t index) const { return !fMember.empty() && fMember[index]; }
    int Count() const { return fCount; }

    // Adds the index; false when it was there already.
    bool Insert(uint16_t index);
    void Clear();

    // The number of members below the index.
    int Rank(uint16_t index) const;
    // The member at a row (0 .. Count() - 1), in ascending order.
    uint16_t Select(int row) const;

private:
    std::vector<bool> fMember;
    std::vector<int32_t> fTree; // 1-based, fTree[i] counts the members in (i - lowbit(i), i]
    int fCount = 0;
};
