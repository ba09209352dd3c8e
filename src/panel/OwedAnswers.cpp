#include "OwedAnswers.h"

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

void TOwedAnswers::Written(const QByteArray& line, bool twoOk) {
    // What was owed before a quiet spell is lost; the new write must not
    // inherit it.
    ExpireIfQuiet();
    fOwed.push_back({Key(line), twoOk && !fModem});
    fLastActivity = Now();
}

void TOwedAnswers::Heard() {
    ExpireIfQuiet();
    fLastActivity = Now();
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

uint32_t TOwedAnswers::MsUntilQuiet() const {
    const qint64 quiet = Now() - fLastActivity;
    return quiet >= qint64(fQuietBoundMs) ? 0 : uint32_t(qint64(fQuietBoundMs) - quiet);
}

bool TOwedAnswers::ExpireIfQuiet() {
    if (fOwed.empty() || MsUntilQuiet() > 0)
        return false;
    Clear();
    return true;
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
