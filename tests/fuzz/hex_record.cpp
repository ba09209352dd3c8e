// One line of a firmware image read as an Intel HEX record.
//
// Checked: a refused line gets a reason; a record taken is of a known type
// and, written out again in upper case, is the line itself.
#include "fuzz_check.h"

#include "firmware/HexRecord.h"

namespace {

QString Hex2(int value) {
    return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

QString Record(const THexRecord& r) {
    QString out = QStringLiteral(":") + Hex2(int(r.Data.size())) + Hex2(r.Address >> 8) + Hex2(r.Address) +
                  Hex2(r.Type);
    int sum = int(r.Data.size()) + (r.Address >> 8) + (r.Address & 0xFF) + r.Type;
    for (const char b : r.Data) {
        out += Hex2(quint8(b));
        sum += quint8(b);
    }
    return out + Hex2(-sum);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString line = FromCp1251(fuzz::Bytes(data, size));
    QString problem;
    const std::optional<THexRecord> record = ParseHexRecord(line, &problem);
    if (!record) {
        FUZZ_CHECK(!problem.isEmpty(), "a refusal says why");
        return 0;
    }
    FUZZ_CHECK(!HexRecordTypeName(record->Type).isEmpty(), "a known type");
    FUZZ_CHECK(Record(*record) == line.toUpper(), "the record is the line");
    return 0;
}
