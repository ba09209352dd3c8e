#pragma once

// The locale a test program was asked to run under (TARVIK_TEST_LOCALE, set
// by ctest beside LANG and LC_ALL for the runs labelled "locale") must be
// the one the application took at start. A missing locale leaves the C
// library in "C", and every test would then pass without having shown
// anything; the program stops with the reason instead.
#include <QtGlobal>

#include <clocale>
#include <cstdio>
#include <cstring>

inline bool InExpectedLocale() {
    const QByteArray expected = qgetenv("TARVIK_TEST_LOCALE");
    if (expected.isEmpty())
        return true;
    const char* numeric = std::setlocale(LC_NUMERIC, nullptr);
    const char* ctype = std::setlocale(LC_CTYPE, nullptr);
    if (numeric && ctype && expected == numeric && expected == ctype)
        return true;
    std::fprintf(stderr,
                 "This run is meant for the locale %s, but the program runs in \"%s\" "
                 "(LC_NUMERIC) / \"%s\" (LC_CTYPE): the locale is not installed. "
                 "scripts/setup.sh generates it (scripts/generate_locale.sh %s).\n",
                 expected.constData(), numeric ? numeric : "?", ctype ? ctype : "?", expected.constData());
    return false;
}
