#include "CLocaleScope.h"

TCLocaleScope::TCLocaleScope() {
    fLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    if (fLocale)
        fPrevious = uselocale(fLocale);
}

TCLocaleScope::~TCLocaleScope() {
    if (fPrevious)
        uselocale(fPrevious);
    if (fLocale)
        freelocale(fLocale);
}
