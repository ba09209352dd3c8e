// Whether the built-in firmware is an update for the panel, and the program
// without firmware resources.
#include "firmware/UpdateFirmware.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(UpdateFirmware, NeedUpdateComparesEveryPartOnItsOwn) {
    struct Case {
        QString builtIn;
        int major, minor, release;
        bool need;
    };
    const Case cases[] = {
        {"07.700.125", 7, 700, 120, true},
        {"07.700.125", 7, 700, 125, false},
        {"07.701.120", 7, 700, 120, false}, // the release is not higher
        {"08.000.001", 7, 700, 120, false}, // not an ordering: the minor is lower
        {"06.800.200", 7, 700, 120, false},
        {"07.700.1x5", 7, 700, 999, true}, // a release that is not decimal counts as 2147483647
        {"07.700.1x5", 8, 700, 999, false},
        {"07.700.126", -1, -1, -1, true}, // a panel whose version could not be read
        {"", 7, 700, 125, true},          // no digits at all: every number 2147483647
        {"07.700.125", 7, 700, INT_MAX, false},
        {"no update", 7, 700, 125, true}, // never asked: "no" keeps the built-in update disabled
    };
    for (const Case& c : cases) {
        TDeviceVersion v;
        v.Major = c.major;
        v.Minor = c.minor;
        v.Release = c.release;
        EXPECT_EQ(NeedUpdate(v, c.builtIn), c.need)
            << c.builtIn.toStdString() << " against " << c.major << "." << c.minor << "." << c.release;
    }
}

TEST(UpdateFirmware, TheProgramCarriesNoFirmware) {
    EXPECT_EQ(GetBuiltInVersion(), "no update");
    EXPECT_EQ(GetImageName("M45PE16"), "no update");
    TDeviceVersion v;
    v.Memory = "M45PE16";
    EXPECT_FALSE(LoadBuiltInImage(v));
}

} // namespace
