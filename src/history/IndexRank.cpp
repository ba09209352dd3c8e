#include "IndexRank.h"

#include <QtGlobal>

bool TIndexRank::Insert(uint16_t index) {
    if (fMember.empty()) {
        fMember.assign(kIndexes, false);
        fTree.assign(kIndexes + 1, 0);
    }
    if (fMember[index])
        return false;
    fMember[index] = true;
    for (int i = index + 1; i <= kIndexes; i += i & -i)
        ++fTree[size_t(i)];
    ++fCount;
    return true;
}

void TIndexRank::Clear() {
    fMember.clear();
    fTree.clear();
    fCount = 0;
}

int TIndexRank::Rank(uint16_t index) const {
    int sum = 0;
    if (fTree.empty())
        return sum;
    for (int i = index; i > 0; i -= i & -i)
        sum += fTree[size_t(i)];
    return sum;
}

uint16_t TIndexRank::Select(int row) const {
    Q_ASSERT(row >= 0 && row < fCount);
    // Descend from the largest power of two: pos ends as the number of
    // indexes whose members add up to no more than row.
    int pos = 0;
    int left = row;
    for (int step = kIndexes; step > 0; step >>= 1) {
        const int next = pos + step;
        if (next <= kIndexes && fTree[size_t(next)] <= left) {
            pos = next;
            left -= fTree[size_t(next)];
        }
    }
    return uint16_t(pos); // the (row + 1)-th member is at 1-based pos + 1, index pos
}
