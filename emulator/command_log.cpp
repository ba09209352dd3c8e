#include "command_log.h"

namespace emu {

namespace {

void append(QList<QByteArray>& list, const QByteArray& line) {
    if (list.size() >= CommandLog::kMaxLines)
        list.remove(0, list.size() / 2); // a long-running emulator keeps the newer half
    list.append(line);
}

} // namespace

void CommandLog::record(const QString& name, bool write, bool rejected, const QByteArray& line) {
    ++fCounts[name];
    if (write)
        ++fWrites[name];
    append(fLines, line);
    if (rejected)
        append(fRejected, line);
}

void CommandLog::clear() {
    fCounts.clear();
    fWrites.clear();
    fLines.clear();
    fRejected.clear();
}

} // namespace emu
