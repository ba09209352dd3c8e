// Looking a key up in the lines of a settings file.
#include "pages/SettingsLookup.h"

#include <gtest/gtest.h>

namespace {

TEST(SettingsLookup, TheFirstLineWhoseNameIsTheKeyInAnyCase) {
    struct Case {
        const char* what;
        QStringList lines;
        QString key;
        QString value;
    };
    const Case cases[] = {
        {"plain", {"Hour=5", "Min=4"}, "Min", "4"},
        {"name in another case", {"object=0051"}, "Object", "0051"},
        {"the first of two counts", {"Hour=2", "Hour=5"}, "Hour", "2"},
        {"the value keeps further =", {"SMS1=a=b"}, "SMS1", "a=b"},
        {"a space before = is part of the name", {"Object =5", "Object=7"}, "Object", "7"},
        {"a longer or shorter name is another key", {"Object1=5", "Objec=6", "SMS10=x"}, "Object", ""},
        {"a line without = is skipped", {"Disp", "Disp=1"}, "Disp", "1"},
        {"an empty value is a value", {"IP2=", "IP2=1"}, "IP2", ""},
        {"no line", {}, "Time", ""},
        {"the name before the first =", {"Point=Hour=3"}, "Hour", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SettingsValue(c.lines, c.key), c.value) << c.what;

    int value = -1;
    EXPECT_TRUE(SettingsInt({"Hour=12"}, "hour", value));
    EXPECT_EQ(value, 12);
    EXPECT_FALSE(SettingsInt({"Hour=x", "Hour=3"}, "Hour", value))
        << "the first line counts, even when wrong";
    EXPECT_FALSE(SettingsInt({}, "Hour", value));
    EXPECT_EQ(value, 12) << "a failed read leaves the value";
}

} // namespace
