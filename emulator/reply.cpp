#include "reply.h"

namespace emu {

Reply Reply::panel(const QList<QByteArray>& lines, int delayMs) {
    Reply r;
    r.parts.append(ReplyPart{delayMs, lines, false, {}});
    return r;
}

Reply Reply::modem(const QList<QByteArray>& lines, int delayMs) {
    Reply r;
    r.parts.append(ReplyPart{delayMs, lines, true, {}});
    return r;
}

Reply Reply::error(bool modemStyle) {
    return modemStyle ? modem({"ERROR"}) : panel({"ERROR"});
}

bool Reply::isEmpty() const {
    for (const ReplyPart& p : parts) {
        if (!p.lines.isEmpty() || !p.raw.isEmpty())
            return false;
    }
    return true;
}

bool Reply::hasValueLine() const {
    for (const ReplyPart& p : parts) {
        for (const QByteArray& l : p.lines) {
            if (l != "OK" && l != "ERROR")
                return true;
        }
    }
    return false;
}

QList<TimedBytes> encodeReply(const Reply& reply, bool crlf) {
    QList<TimedBytes> out;
    for (const ReplyPart& p : reply.parts) {
        QByteArray bytes = p.raw;
        for (const QByteArray& line : p.lines) {
            if (p.modemStyle)
                bytes += "\r\n" + line + "\r\n";
            else
                bytes += line + (crlf ? "\r\n" : "\r");
        }
        out.append({p.delayMs, bytes});
    }
    return out;
}

} // namespace emu
