// The panel's answer to "+alphon<n>", one reporting entry.
//
// Input: the answer lines (cut at LF). Checked: an entry is made only of a
// value line of the entry's form, its fields are single digits, its phone
// holds only digits and "+" and at most 30 of them; the entry written back
// with its write command, answered as the panel echoes it, reads back the
// same.
#include "fuzz_check.h"

#include "panel/DirectionRec.h"
#include "panel/PanelExchange.h"
#include "panel/ValueShapes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList answer = fuzz::LinesAtLf(fuzz::Bytes(data, size));
    const std::optional<TDirectionRec> parsed = ParseDirectionAnswer(answer);
    FUZZ_CHECK(bool(parsed) == ValueFitsShape(QStringLiteral("+alphon0"), AnswerValue(answer)),
               "an entry exactly from a value line of the entry's form");
    if (!parsed)
        return 0;
    const TDirectionRec& rec = *parsed;

    FUZZ_CHECK(rec.Direction <= 9 && rec.Order <= 9 && rec.Reserved[0] <= 9 && rec.Channel <= 9,
               "the fields are decimal digits");
    FUZZ_CHECK(rec.Reserved[1] == 0 && rec.Reserved[2] == 0, "two reserved values are not read");
    FUZZ_CHECK(rec.Phone.size() <= TDirectionRec::kPhoneMax, "the phone is cut");
    for (const QChar c : rec.Phone)
        FUZZ_CHECK((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+'),
                   "the phone is digits and plus signs");

    const int entry = size > 0 ? data[0] % TDirectionRec::kEntries : 0;
    const QString prefix = QStringLiteral("+alphon%1").arg(entry);
    const QString line = DirectionWriteLine(entry, rec);
    FUZZ_CHECK(line.startsWith(prefix), "the write names its entry");
    const std::optional<TDirectionRec> back = ParseDirectionAnswer({line.mid(prefix.size()), QStringLiteral("OK")});
    FUZZ_CHECK(back && *back == rec, "an entry reads back as written");
    return 0;
}
