// The panel's answers to "+v" and "+typepan": the version line and its
// numbers, the boot loader's mark, the memory chip.
//
// Input: the answer lines (cut at LF). Checked: the version line is the
// first line holding "REV", trimmed of spaces and control characters, or
// the one known before when none does; the numbers are -1 or fit their
// places; the memory is left alone, "M45PE16" or "Unknown".
#include "fuzz_check.h"

#include "panel/DeviceVersion.h"

#include <algorithm>

namespace {

bool Trimmed(const QString& s) {
    return s.isEmpty() || (s.front().unicode() > 0x20 && s.back().unicode() > 0x20);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList answer = fuzz::LinesAtLf(fuzz::Bytes(data, size));

    const QString before = QStringLiteral("REV 07.700.125");
    TDeviceVersion v;
    v.Name = before;
    ParseVersion(answer, v.Name, v.Major, v.Minor, v.Release);
    const auto rev = std::find_if(answer.begin(), answer.end(),
                                  [](const QString& l) { return l.contains(QLatin1String("REV")); });
    if (rev == answer.end()) {
        FUZZ_CHECK(v.Name == before, "no version line keeps the one known");
    } else {
        FUZZ_CHECK(Trimmed(v.Name), "the version line is trimmed");
        FUZZ_CHECK(rev->contains(v.Name) && v.Name.contains(QLatin1String("REV")), "the first REV line");
    }
    FUZZ_CHECK(v.Major >= -1 && v.Major <= 99, "major of two digits");
    FUZZ_CHECK(v.Minor >= -1 && v.Minor <= 999, "minor of three digits");
    FUZZ_CHECK(v.Release >= -1 && v.Release <= 999, "release of three digits");
    if (IsCompatible(v))
        FUZZ_CHECK(v.Major == 7 && v.Minor == 700 && !IsBootLoader(v), "only 7.700 is configured");

    QString memory = QStringLiteral("kept");
    ParseMemoryType(answer, memory);
    FUZZ_CHECK(memory == QLatin1String("kept") || memory == QLatin1String("M45PE16") ||
                   memory == QLatin1String("Unknown"),
               "a memory type of the three");
    if (answer.size() < 2)
        FUZZ_CHECK(memory == QLatin1String("Unknown"), "no value line, no chip");
    return 0;
}
