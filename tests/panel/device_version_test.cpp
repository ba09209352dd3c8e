// Reading the panel's identity from its answers.
#include "panel/DeviceVersion.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseVersion, NumbersFromFixedPositions) {
    struct Case {
        QStringList answer;
        QString ver;
        int major, minor, release;
        bool compatible;
    };
    const Case cases[] = {
        {{"REV 07.700.125", "OK"}, "REV 07.700.125", 7, 700, 125, true},
        {{"  REV 07.700.125\t", "OK"}, "REV 07.700.125", 7, 700, 125, true},
        {{"junk", "BLREV 07.700.001", "OK"}, "BLREV 07.700.001", -1, -1, -1, false},
        {{"REV 08.700.125", "OK"}, "REV 08.700.125", 8, 700, 125, false},
        {{"REV 07.701.125", "OK"}, "REV 07.701.125", 7, 701, 125, false},
        {{"REV 07.700", "OK"}, "REV 07.700", 7, 700, -1, true},
        {{"REV 7a.700.12x", "OK"}, "REV 7a.700.12x", -1, 700, -1, false},
        {{"rev 07.700.125", "OK"}, "", -1, -1, -1, false},
        {{"OK"}, "", -1, -1, -1, false},
    };
    for (const Case& c : cases) {
        QString ver;
        int major = 0, minor = 0, release = 0;
        ParseVersion(c.answer, ver, major, minor, release);
        EXPECT_EQ(ver, c.ver) << c.answer.join('|').toStdString();
        EXPECT_EQ(major, c.major) << c.answer.join('|').toStdString();
        EXPECT_EQ(minor, c.minor) << c.answer.join('|').toStdString();
        EXPECT_EQ(release, c.release) << c.answer.join('|').toStdString();
        TDeviceVersion v{ver, major, minor, release, {}};
        EXPECT_EQ(IsCompatible(v), c.compatible) << c.answer.join('|').toStdString();
    }
}

TEST(ParseVersion, KeepsTheEarlierLineWhenNoneHasRev) {
    QString ver = "REV 07.700.125";
    int major = 0, minor = 0, release = 0;
    ParseVersion({"ERROR", "OK"}, ver, major, minor, release);
    EXPECT_EQ(ver, "REV 07.700.125");
    EXPECT_EQ(major, 7);
}

TEST(ParseVersion, TheBootLoaderIsKnownByItsVersionLine) {
    struct Case {
        QString line;
        bool bootLoader;
    };
    const Case cases[] = {
        {"BL REV 01.002.004", true}, {"BL REV 07.700.125", true}, {"  BL REV 01.002.004\r", true},
        {"REV 07.700.125", false},   {"BLREV 07.700.001", false}, {"OK", false},
    };
    for (const Case& c : cases) {
        TDeviceVersion v;
        ParseVersion({c.line, "OK"}, v.Name, v.Major, v.Minor, v.Release);
        EXPECT_EQ(IsBootLoader(v), c.bootLoader) << c.line.toStdString();
        if (c.bootLoader) {
            EXPECT_FALSE(IsCompatible(v)) << "a boot loader never passes for firmware to configure";
        }
    }
}

TEST(ParseMemoryType, LowThreeBitsName) {
    struct Case {
        QStringList answer;
        QString before, after;
    };
    const Case cases[] = {
        {{"07", "OK"}, "", "M45PE16"}, {{"FF", "OK"}, "", "M45PE16"}, {{"1F", "OK"}, "x", "M45PE16"},
        {{"3", "OK"}, "", ""},         {{"6", "OK"}, "keep", "keep"}, {{"OK"}, "", "Unknown"},
        {{"ZZ", "OK"}, "", "Unknown"}, {{"", "OK"}, "", "Unknown"},   {{"junk", "0F", "OK"}, "", "M45PE16"},
    };
    for (const Case& c : cases) {
        QString memory = c.before;
        ParseMemoryType(c.answer, memory);
        EXPECT_EQ(memory, c.after) << c.answer.join('|').toStdString();
    }
}

} // namespace
