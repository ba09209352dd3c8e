#include "RecordIdentity.h"

namespace {
constexpr int kMessageEnd = 20; // index and message: characters 1-20
constexpr int kDateStart = 39;  // date text and running number: characters 40-69
constexpr int kNumberEnd = 69;
} // namespace

QString RecordIdentity(const QString& line) {
    if (line.size() < kNumberEnd)
        return line;
    return line.left(kMessageEnd) + line.mid(kDateStart, kNumberEnd - kDateStart);
}
