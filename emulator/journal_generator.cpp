#include "journal_generator.h"

#include "cid_event_table.h"
#include "contact_id.h"

#include <random>

namespace emu {

namespace {

struct Event {
    int qualifier;
    int code;
    int partition;
    int zone;
    int sendFlag;
    quint8 phones;
};

struct Scenario {
    int weight;
    int code;
    bool restore;    // followed by the restore (qualifier 3) of the same event
    bool eventOnly3; // reported with qualifier 3 only (arming-type events)
};

// What happens on a guarded object over weeks, roughly in these proportions.
constexpr Scenario kScenarios[] = {
    {30, 401, false, false}, // arming / disarming by a user: handled apart
    {18, 602, false, false}, // periodic test report
    {6, 130, true, false},   // burglary
    {4, 131, true, false},   // perimeter burglary
    {3, 132, true, false},   // interior burglary
    {2, 134, true, false},   // entry/exit
    {2, 110, true, false},   // fire
    {4, 120, true, false},   // panic (alarm button)
    {1, 100, true, false},   // medical
    {5, 301, true, false},   // mains lost
    {4, 302, true, false},   // low battery
    {3, 305, false, false},  // panel reset
    {3, 137, true, false},   // tamper
    {2, 625, false, true},   // date and time set
    {2, 627, false, false},  // program mode entry (followed by 628, exit)
    {2, 354, true, false},   // failure to communicate
    {2, 570, true, false},   // zone bypass
    {1, 408, false, true},   // quick arm
};

class Builder {
public:
    explicit Builder(quint32 seed) : fRandom(seed) {}

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(fRandom); }

    // Delivery: over GPRS online now and then, else through the direction
    // entries 1 (CSD) or 2 (SMS) of direction 1 and entry 3 (GPRS IP1) of direction 2.
    void delivery(int& sendFlag, quint8& phones) {
        const int r = pick(0, 99);
        sendFlag = 0;
        if (r < 30) {
            sendFlag = 2;
            phones = 0xFF;
        } else if (r < 65) {
            phones = 0xFA; // entries 1 and 3
        } else if (r < 80) {
            phones = 0xF9; // entries 2 and 3
        } else if (r < 90) {
            phones = 0xFE; // entry 1 only: direction 2 missed
        } else if (r < 95) {
            sendFlag = 1;
            phones = 0xFB; // entry 3 only
        } else {
            phones = 0xFF; // not delivered
        }
    }

    QList<Event> next() {
        int total = 0;
        for (const Scenario& s : kScenarios)
            total += s.weight;
        int r = pick(0, total - 1);
        const Scenario* chosen = &kScenarios[0];
        for (const Scenario& s : kScenarios) {
            if (r < s.weight) {
                chosen = &s;
                break;
            }
            r -= s.weight;
        }
        QList<Event> out;
        auto add = [&](int q, int code, int partition, int zone) {
            Event e{q, code, partition, zone, 0, 0xFF};
            delivery(e.sendFlag, e.phones);
            out.append(e);
        };
        const int partition = pick(0, 9) < 8 ? 1 : 2;
        switch (chosen->code) {
        case 401: {
            const int user = pick(1, 4);
            add(fArmed ? 1 : 3, 401, partition, user); // 1: disarmed (opening), 3: armed (closing)
            fArmed = !fArmed;
            break;
        }
        case 602: add(1, 602, 0, 0); break;
        case 305: add(1, 305, 0, 0); break;
        case 627:
            add(1, 627, 0, 0);
            add(1, 628, 0, 0);
            break;
        case 625: add(3, 625, 0, 0); break;
        case 408:
            add(3, 408, partition, pick(1, 4));
            fArmed = true;
            break;
        case 301:
        case 302:
        case 354:
            add(1, chosen->code, 0, 0);
            add(3, chosen->code, 0, 0);
            break;
        case 120:
        case 100: {
            const int loop = pick(1, 2);
            add(1, chosen->code, partition, loop);
            add(3, chosen->code, partition, loop);
            break;
        }
        default: {
            const int zone = pick(1, 16);
            add(1, chosen->code, partition, zone);
            if (chosen->restore)
                add(3, chosen->code, partition, zone);
            break;
        }
        }
        return out;
    }

private:
    std::mt19937 fRandom;
    bool fArmed = false;
};

} // namespace

JournalGenerator::Result JournalGenerator::generate(const Options& options) {
    Result result;
    const int count = qBound(0, options.records, 65535);
    Builder builder(options.seed);
    QDateTime when(QDate(2024, 3, 1), QTime(7, 12, 0));
    QList<Event> pending;
    QList<int> bad;
    const int badCount = qBound(0, options.badRecords, count);
    for (int k = 0; k < badCount; ++k)
        bad.append(int((qint64(k) + 1) * count / (badCount + 1)));

    for (int i = 0; i < count; ++i) {
        if (pending.isEmpty())
            pending = builder.next();
        const Event e = pending.takeFirst();
        Q_ASSERT(cidtable::contains(e.code, e.qualifier));
        when = when.addSecs(pending.isEmpty() ? builder.pick(3, 240) * 60 : builder.pick(5, 300));

        const int badSlot = int(bad.indexOf(i));
        const bool wrongDigit = badSlot >= 0 && badSlot % 2 == 1;
        const bool wrongSum = badSlot >= 0 && badSlot % 2 == 0;

        JournalRecord rec;
        rec.index = quint16((options.firstIndex + i) & 0xFFFF);
        rec.cid =
            contactid::message(options.account, e.qualifier, e.code, e.partition, e.zone, options.cidTenAsA);
        if (wrongDigit) {
            const char right = rec.cid.at(15);
            rec.cid[15] = right == '7' ? '8' : '7';
        }
        rec.event = char('0' + e.qualifier);
        rec.dateText = JournalRecord::dateTextOf(when);
        rec.globalIndex = options.firstGlobalIndex + quint32(i);
        rec.sendFlag = quint8(e.sendFlag);
        rec.phones = e.phones;
        result.lines.append(rec.line(wrongSum));
    }
    result.badIndexes = bad;
    return result;
}

} // namespace emu
