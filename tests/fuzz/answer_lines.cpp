// Received bytes through the line assembly and the owed answers, the way the
// exchange takes them: bytes become lines, each line goes to the oldest
// write still owed an answer, and an answer ends at its final line.
//
// Input: byte 0, bit 0 set for a link through a GSM modem; then the bytes
// received, in which three control bytes stand for events of the link
// instead (the panel never sends them):
//   0x01  time passes beyond every owed answer's deadline (what is owed is lost)
//   0x02  a command is written, in turn "+v", "+U" (the signal reading) and "+o"
//   0x03  the end of one hand-over of bytes from the port
//
// Checked: no line is empty or keeps a CR, LF or ">"; the lines and the
// text still waiting hold every other character received, in order, since
// the last write-off; cutting the bytes into other hand-overs gives the same
// lines; every line goes to the command a plain queue of the writes says,
// and completes that command's answer exactly at its final line.
#include "fuzz_check.h"

#include "panel/LineAssembler.h"
#include "panel/OwedAnswers.h"

#include <deque>

namespace {

constexpr uint8_t kPast = 0x01;
constexpr uint8_t kWrite = 0x02;
constexpr uint8_t kHandOver = 0x03;
constexpr uint32_t kAnswerMs = 500;
constexpr uint32_t kLateBound = 1000;

struct TWrite {
    QByteArray Command;
    bool TwoOk = false;
    int Oks = 0;
};

bool FinalLine(const QString& line, bool modem) {
    static const QStringList kCable = {"OK", "ERROR"};
    static const QStringList kModem = {"NO CARRIER", "BUSY", "NO ANSWER", "NO DIALTONE"};
    return kCable.contains(line) || (modem && (kModem.contains(line) || line.startsWith("CONNECT")));
}

QString WithoutLineEnds(const QString& text) {
    QString out = text;
    out.remove(QLatin1Char('\r'));
    out.remove(QLatin1Char('\n'));
    out.remove(QLatin1Char('>'));
    return out;
}

class TRun {
public:
    explicit TRun(bool modem) : fModem(modem) {
        fOwed.SetClock([this] { return fNow; });
        fOwed.SetDefaultAnswerTime(kAnswerMs);
        fOwed.SetLateBound(kLateBound);
        fOwed.SetModem(modem);
    }

    void Receive(uint8_t byte) {
        fChunk.append(char(byte));
        fAll.append(char(byte));
    }

    void HandOver() {
        if (fChunk.isEmpty())
            return;
        fOwed.ExpireDue();
        if (fOwed.WriteOffs() != fSeenWriteOffs) {
            // As the exchange does: the unfinished line belonged to the lost answers.
            fSeenWriteOffs = fOwed.WriteOffs();
            fAssembler.Clear();
            fSinceClear.clear();
            fLinesSinceClear.clear();
            fCleared = true;
        }
        fSinceClear += FromCp1251(fChunk);
        const QStringList lines = fAssembler.Feed(fChunk);
        fChunk.clear();
        for (const QString& line : lines)
            Take(line);
        fLinesSinceClear += lines;
    }

    void Write() {
        HandOver();
        static const char* const kCommands[] = {"+v", "+U", "+o"};
        const int k = fWrites++ % 3;
        const bool twoOk = k == 1;
        fOwed.Written(QByteArray(kCommands[k]) + "\r\n", twoOk);
        fQueue.push_back({kCommands[k], twoOk && !fModem, 0});
        FUZZ_CHECK(fOwed.Count() == int(fQueue.size()), "one owed answer a write");
    }

    void Past() {
        HandOver();
        fNow += kAnswerMs + kLateBound;
        const quint64 before = fOwed.WriteOffs();
        FUZZ_CHECK(fOwed.ExpireDue(), "nothing owed past every deadline");
        FUZZ_CHECK((fOwed.WriteOffs() != before) == !fQueue.empty(), "what was owed is written off");
        fQueue.clear();
        FUZZ_CHECK(fOwed.Empty(), "nothing owed after the write-off");
    }

    void Finish() {
        HandOver();
        FUZZ_CHECK(fLinesSinceClear.join(QString()) + fAssembler.Pending() == WithoutLineEnds(fSinceClear),
                   "no character lost or added");
        if (!fCleared && fAll.size() < TLineAssembler::kMaxPending) {
            TLineAssembler whole;
            FUZZ_CHECK(whole.Feed(fAll) == fLinesSinceClear, "hand-overs do not change the lines");
            FUZZ_CHECK(whole.Pending() == fAssembler.Pending(), "hand-overs do not change what waits");
        }
    }

private:
    void Take(const QString& line) {
        FUZZ_CHECK(!line.isEmpty(), "empty lines are skipped");
        FUZZ_CHECK(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')) &&
                       !line.contains(QLatin1Char('>')),
                   "line ends and prompts are taken out");
        FUZZ_CHECK(line.size() <= TLineAssembler::kMaxPending, "lines are bounded");
        const TOwedAnswers::TFate fate = fOwed.Take(line);
        if (fQueue.empty()) {
            FUZZ_CHECK(!fate.Owed && !fate.Completes, "a line nobody asked for is nobody's");
            return;
        }
        TWrite& head = fQueue.front();
        FUZZ_CHECK(fate.Owed && fate.Command == head.Command, "the line goes to the oldest write");
        if (line == QLatin1String("OK"))
            ++head.Oks;
        const bool completes =
            head.TwoOk ? line == QLatin1String("ERROR") || head.Oks == 2 : FinalLine(line, fModem);
        FUZZ_CHECK(fate.Completes == completes, "the answer ends at its final line");
        FUZZ_CHECK(fate.Success == (completes && line == QLatin1String("OK")), "success only with OK");
        if (completes)
            fQueue.pop_front();
        FUZZ_CHECK(fOwed.Count() == int(fQueue.size()), "one answer completed at a time");
    }

    bool fModem;
    qint64 fNow = 0;
    TOwedAnswers fOwed;
    TLineAssembler fAssembler;
    std::deque<TWrite> fQueue;
    int fWrites = 0;
    quint64 fSeenWriteOffs = 0;
    QByteArray fChunk;
    QByteArray fAll;
    QString fSinceClear;
    QStringList fLinesSinceClear;
    bool fCleared = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    TRun run(data[0] & 1);
    for (size_t i = 1; i < size; ++i) {
        switch (data[i]) {
        case kPast: run.Past(); break;
        case kWrite: run.Write(); break;
        case kHandOver: run.HandOver(); break;
        default: run.Receive(data[i]); break;
        }
    }
    run.Finish();
    return 0;
}
