#include "line_framer.h"

namespace emu {

QList<LineFramer::Event> LineFramer::feed(const QByteArray& bytes) {
    QList<Event> out;
    for (char c : bytes)
        take(c, out);
    return out;
}

void LineFramer::reset() {
    fBuffer.clear();
    fDiscarding = false;
}

void LineFramer::take(char c, QList<Event>& out) {
    if (c == '\n') {
        if (fDiscarding) {
            fDiscarding = false;
            fBuffer.clear();
            return;
        }
        QByteArray line = fBuffer;
        fBuffer.clear();
        if (line.isEmpty()) {
            out.append({Event::BadLine, QByteArray()}); // LF alone
            return;
        }
        if (!line.endsWith('\r')) {
            out.append({Event::BadLine, line});
            return;
        }
        line.chop(1);
        if (line.isEmpty()) {
            ++fBlankLines;
            return;
        }
        out.append({line.contains('\r') ? Event::BadLine : Event::Line, line});
        return;
    }
    if (fDiscarding)
        return;
    fBuffer.append(c);
    if (fEscape && fBuffer == "+++") {
        fBuffer.clear();
        out.append({Event::Escape, QByteArray("+++")});
        return;
    }
    if (fBuffer.size() > kMaxLineLength) {
        out.append({Event::BadLine, fBuffer.left(32)});
        fBuffer.clear();
        fDiscarding = true;
    }
}

} // namespace emu
