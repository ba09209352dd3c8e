#pragma once

#include <locale.h>

// While it lives, the calling thread formats and reads numbers, dates and
// characters in the C locale, whatever locale the process runs in (the
// application sets the user's at start). The workbook library writes every
// number of the sheet's XML (cell values, date serials, column widths,
// margins) with the C library's printf, which would otherwise put the
// user's decimal comma into the file. Only this thread is affected, and its
// previous locale is back when the scope ends.
class TCLocaleScope {
public:
    TCLocaleScope();
    ~TCLocaleScope();

    TCLocaleScope(const TCLocaleScope&) = delete;
    TCLocaleScope& operator=(const TCLocaleScope&) = delete;

    // False when the C locale could not be set up (no memory): the caller
    // then must not write numbers.
    bool Active() const { return fPrevious != nullptr; }

private:
    locale_t fLocale = nullptr;
    locale_t fPrevious = nullptr;
};
