#include "cid_event_table.h"

#include <algorithm>
#include <set>
#include <utility>

namespace emu::cidtable {

namespace {

struct Range {
    int first;
    int last;
};

// Codes that come as an event and as a restore.
constexpr Range kBoth[] = {
    {100, 102}, {110, 118}, {120, 125}, {130, 147}, {150, 159}, {161, 163}, {200, 206}, {300, 304},
    {307, 313}, {319, 327}, {330, 339}, {341, 344}, {350, 357}, {370, 378}, {380, 389}, {391, 393},
    {400, 407}, {409, 409}, {416, 416}, {423, 434}, {441, 442}, {450, 459}, {461, 466}, {500, 501},
    {520, 527}, {530, 530}, {550, 553}, {570, 577}, {606, 606}, {608, 609}, {611, 616}, {625, 626},
    {629, 630}, {632, 632}, {641, 642}, {651, 654},
};

// Codes that come as an event only.
constexpr int kEventOnly[] = {305, 306, 411, 412, 413, 414, 415, 421, 422, 601, 602,
                              603, 604, 605, 607, 621, 622, 623, 624, 627, 628, 631};

// Codes that come as a restore only.
constexpr int kRestoreOnly[] = {408};

QList<Key> build() {
    std::set<std::pair<int, int>> all;
    for (const Range& r : kBoth) {
        for (int c = r.first; c <= r.last; ++c) {
            all.insert({c, 1});
            all.insert({c, 3});
        }
    }
    for (int c : kEventOnly)
        all.insert({c, 1});
    for (int c : kRestoreOnly)
        all.insert({c, 3});
    QList<Key> out;
    for (const auto& [code, q] : all)
        out.append({code, q});
    return out;
}

} // namespace

const QList<Key>& keys() {
    static const QList<Key> table = build();
    return table;
}

bool contains(int code, int qualifier) {
    const QList<Key>& t = keys();
    return std::binary_search(t.begin(), t.end(), Key{code, qualifier}, [](const Key& a, const Key& b) {
        return a.code != b.code ? a.code < b.code : a.qualifier < b.qualifier;
    });
}

} // namespace emu::cidtable
