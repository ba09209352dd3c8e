// The SMS page: transliteration, the texts' commands and names, the grid's
// defaults and column widths, and the settings-file lines.
#include "pages/SMSCodec.h"
#include "pages/StringFuncs.h"

#include "qt_print.h"

#include <gtest/gtest.h>

namespace {

TEST(TranslitToLatin, RussianLettersBecomeLatinEverythingElseStays) {
    const struct {
        const char* text;
        const char* latin;
    } cases[] = {
        {"Разряд АКБ", "Razrjad AKB"},
        {"Внимание! Была нажата Тревожная кнопка 1", "Vnimanie! Byla nazhata Trevozhnaja knopka 1"},
        {"Ёлка", "yolka"}, // Ё stays lower case
        {"щи", "shi"},
        {"подъезд", "pod'ezd"},
        {"абвгдеёжзийклмнопрстуфхцчшщьыъэюя", "abvgdeyozhziiklmnoprstufhtschshsh'y'ejuja"},
        {"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЬЫЪЭЮЯ", "ABVGDEyoZhZIIKLMNOPRSTUFHTsChShSh'Y'EJuJa"},
        {"Alarm 12: OK, №5 (test)", "Alarm 12: OK, №5 (test)"}, // no Russian letters: unchanged
        {"Ґ є ї", "Ґ є ї"},                                     // not in the two alphabets
        {"", ""},
    };
    for (const auto& c : cases) {
        const QString once = TranslitToLatin(QString::fromUtf8(c.text));
        EXPECT_EQ(once, QString::fromUtf8(c.latin)) << c.text;
        EXPECT_EQ(TranslitToLatin(once), once) << "a second pass changes " << c.text;
    }
}

TEST(SMSTexts, CommandsNamesAndDefaults) {
    const struct {
        int row;
        const char *read, *readName, *writeName;
    } cases[] = {
        {1, "+smstext0", "Текст СМС #1", "Тест СМС #1"},
        {6, "+smstext5", "Текст СМС #6", "Тест СМС #6"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SMSReadCommand(c.row), QString::fromUtf8(c.read));
        EXPECT_EQ(SMSReadErrorName(c.row), QString::fromUtf8(c.readName));
        EXPECT_EQ(SMSWriteErrorName(c.row), QString::fromUtf8(c.writeName));
    }
    // Texts go out as they stand, Cyrillic included.
    EXPECT_EQ(SMSWriteCommand(6, QStringLiteral("Заряд восстановлен")),
              QStringLiteral("+smstext5Заряд восстановлен"));

    EXPECT_EQ(SMSGridHeader(), (QStringList{"№", "Назначение", "Текст СМС"}));
    const QStringList defaults = SMSDefaultTexts();
    ASSERT_EQ(defaults.size(), SMSCount);
    EXPECT_EQ(defaults.first(), QStringLiteral("Внимание! Была нажата Тревожная кнопка 1"));
    EXPECT_EQ(defaults.at(2), QStringLiteral("Разряд АКБ"));
    EXPECT_EQ(defaults.last(), QStringLiteral("Восстановление заряда АКБ"));
    for (int r = 1; r <= SMSCount; ++r)
        EXPECT_EQ(SMSPurpose(r), defaults.at(r - 1));
    EXPECT_TRUE(SMSPurpose(0).isEmpty());
    EXPECT_TRUE(SMSPurpose(7).isEmpty());
}

TEST(SMSTexts, ColumnWidths) {
    const struct { int client, text; } cases[] = {{600, 283}, {601, 283}, {34, 0}, {35, 0}, {10, 0}, {0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(SMSTextColumnWidth(c.client), c.text) << c.client;
}

} // namespace
