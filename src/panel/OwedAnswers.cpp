#include "OwedAnswers.h"

#include <algorithm>
#include <climits>

namespace {
const QString kOK = QStringLiteral("OK");
const QString kError = QStringLiteral("ERROR");
} // namespace

QByteArray TOwedAnswers::Key(const QByteArray& written) {
    qsizetype end = written.size();
    while (end > 0 && (written.at(end - 1) == '\r' || written.at(end - 1) == '\n'))
        --end;
    return written.left(end);
}

bool TOwedAnswers::IsFinalLine(const QString& line, bool modem) {
    if (line == kOK || line == kError)
        return true;
    if (!modem)
        return false;
    return line.startsWith(QLatin1String("CONNECT")) || line == QLatin1String("NO CARRIER") ||
           line == QLatin1String("BUSY") || line == QLatin1String("NO ANSWER") ||
           line == QLatin1String("NO DIALTONE");
}

TOwedAnswers::TOwedAnswers(QObject* parent) : QObject(parent) {
    fElapsed.start();
    fClock = [this] { return fElapsed.elapsed(); };
}

void TOwedAnswers::Written(const QByteArray& line, bool twoOk, uint32_t answerMs) {
    // What is past its deadline is lost; the new write must not inherit it.
    ExpireDue();
    if (answerMs == 0)
        answerMs = fNextAnswerMs ? fNextAnswerMs : fDefaultAnswerMs;
    fNextAnswerMs = 0;
    fOwed.push_back({Key(line), twoOk && !fModem, Now(), std::max(answerMs, fLeastAnswerMs)});
}

qint64 TOwedAnswers::Deadline(const TOwed& owed) const {
    return std::max(owed.WrittenAt, fLastAnswered) + qint64(owed.AnswerMs) + qint64(fLateBoundMs);
}

TOwedAnswers::TFate TOwedAnswers::Take(const QString& line) {
    if (fOwed.empty())
        return {};
    const TOwed& head = fOwed.front();
    ++fPartial.Lines;
    if (line == kOK)
        ++fPartial.Oks;
    TFate fate;
    fate.Owed = true;
    fate.Command = head.Command;
    if (head.TwoOk) {
        fate.Completes = line == kError || (line == kOK && fPartial.Oks == 2);
    } else {
        fate.Completes = IsFinalLine(line, fModem);
    }
    if (!fate.Completes)
        return fate;
    fate.Success = line == kOK;
    fOwed.pop_front();
    fPartial = {};
    fLastAnswered = Now();
    emit Settled();
    return fate;
}

bool TOwedAnswers::OwesOnly(const QByteArray& command) const {
    for (const TOwed& owed : fOwed) {
        if (owed.Command != command)
            return false;
    }
    return true;
}

uint32_t TOwedAnswers::MsUntilDue() const {
    if (fOwed.empty())
        return 0;
    const qint64 left = Deadline(fOwed.front()) - Now();
    return left <= 0 ? 0 : uint32_t(std::min<qint64>(left, UINT32_MAX));
}

void TOwedAnswers::WriteOffHead() {
    fOwed.pop_front();
    fPartial = {};
    ++fWriteOffs;
}

bool TOwedAnswers::ExpireDue() {
    bool wroteOff = false;
    while (!fOwed.empty() && Now() >= Deadline(fOwed.front())) {
        WriteOffHead();
        wroteOff = true;
    }
    if (wroteOff)
        emit Settled();
    return fOwed.empty();
}

void TOwedAnswers::Clear() {
    const bool had = !fOwed.empty() || fPartial.Lines > 0;
    fOwed.clear();
    fPartial = {};
    if (had) {
        ++fWriteOffs;
        emit Settled();
    }
}
