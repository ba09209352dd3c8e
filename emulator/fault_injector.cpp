#include "fault_injector.h"

#include "hex_digits.h"

namespace emu {

bool FaultInjector::applies(const QString& name) const {
    const QString& only = fSettings.faults.onlyCommand;
    return only.isEmpty() || name.startsWith(only);
}

void FaultInjector::restart() {
    fCommands = 0;
    fUnanswered.clear();
    fSkipped = false;
}

bool FaultInjector::admit(const QString& name, const QByteArray& line) {
    if (!applies(name))
        return true;
    const Faults& f = fSettings.faults;
    ++fCommands;
    if (f.dropEvery > 0 && fCommands % f.dropEvery == 0)
        return false;
    if (f.answerOnRetry) {
        if (line != fUnanswered) {
            fUnanswered = line;
            return false;
        }
        fUnanswered.clear();
    }
    return true;
}

Reply FaultInjector::shape(const QString& name, Reply reply) {
    if (!applies(name) || reply.parts.isEmpty())
        return reply;
    const Faults& f = fSettings.faults;
    if (name == QLatin1String("+read") && f.skipRecord >= 0 && (f.skipRecordAlways || !fSkipped)) {
        // A record line starts with its index in four hexadecimal digits.
        const QByteArray index = hex::format(unsigned(f.skipRecord), 4);
        for (ReplyPart& part : reply.parts) {
            const auto skipped = part.lines.removeIf(
                [&](const QByteArray& line) { return line.size() > 4 && line.startsWith(index); });
            fSkipped = fSkipped || skipped > 0;
        }
    }
    if (f.missingOk && reply.hasValueLine()) {
        ReplyPart& last = reply.parts.last();
        if (!last.lines.isEmpty() && last.lines.last() == "OK")
            last.lines.removeLast();
    }
    if (f.garbage)
        reply.parts.first().raw.prepend(f.garbageBytes);
    if (!f.lineBefore.isEmpty())
        reply.parts.first().raw.prepend(f.lineBefore + '\r');
    reply.parts.first().delayMs += f.extraDelayMs;
    return reply;
}

QList<TimedBytes> FaultInjector::shapeBytes(const QString& name, QList<TimedBytes> pieces, bool& hungUp) {
    hungUp = false;
    if (!applies(name))
        return pieces;
    const Faults& f = fSettings.faults;

    if (f.sprinkle) {
        for (TimedBytes& piece : pieces) {
            QByteArray out;
            bool lineStart = true;
            for (char c : piece.bytes) {
                fNoise = fNoise * 1103515245u + 12345u;
                const unsigned r = (fNoise >> 16) % 8;
                if (lineStart && c != '\r' && c != '\n')
                    out += '>'; // a prompt in front of the line
                else if (r == 0 && c != '\r')
                    out += (fNoise & 0x100) ? '>' : '\n'; // now and then inside a line
                out += c;
                lineStart = false;
                if (c == '\r') {
                    if (r < 5)
                        out += '\n';
                    lineStart = true;
                }
            }
            piece.bytes = out;
        }
    }

    if (f.hangupAt > 0 && fCommands == f.hangupAt) {
        qsizetype total = 0;
        for (const TimedBytes& p : pieces)
            total += p.bytes.size();
        qsizetype keep = qMax<qsizetype>(1, total / 2);
        QList<TimedBytes> cut;
        for (const TimedBytes& p : pieces) {
            if (keep <= 0)
                break;
            cut.append({p.delayMs, p.bytes.left(keep)});
            keep -= p.bytes.size();
        }
        pieces = cut;
        hungUp = true;
    }

    if (f.answerTwice) {
        QList<TimedBytes> again = pieces;
        if (!again.isEmpty())
            again.first().delayMs = f.answerTwiceGapMs;
        pieces += again;
    }

    if (f.splitBytes) {
        QList<TimedBytes> single;
        for (const TimedBytes& p : pieces) {
            for (qsizetype i = 0; i < p.bytes.size(); ++i)
                single.append({i == 0 ? p.delayMs : fSettings.delays.splitGapMs, p.bytes.mid(i, 1)});
        }
        pieces = single;
    }
    return pieces;
}

} // namespace emu
