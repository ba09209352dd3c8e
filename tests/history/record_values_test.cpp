// What the history list and the export show of a record: the numbers taken
// from the message, the event text, the delivery columns and the date.
#include "history/HistoryRec.h"
#include "history/HistoryValues.h"

#include <gtest/gtest.h>

namespace {

THistoryRec WithMessage(const char* digits) {
    THistoryRec rec;
    for (int i = 0; i < 16; ++i)
        rec.cid[size_t(i)] = uint8_t(QByteArray(1, digits[i]).toUInt(nullptr, 16));
    return rec;
}

TEST(RecordValuesTest, NumbersKeyAndMessageComeFromTheDigits) {
    struct Case {
        const char* digits;
        int object, code, partition, zone;
        const char* key;
        const char* text;
    };
    const Case cases[] = {
        {"0050181130010050", 50, 130, 1, 5, "1301", "Тревога по зоне"},
        {"9876183130999999", 9876, 130, 99, 999, "1303", "ВОССТ: Тревога по зоне"},
        {"0050183401020030", 50, 401, 2, 3, "4013", "Взятие на охрану"},
        {"0050181120010020", 50, 120, 1, 2, "1201", "Тревожная кнопка"},
        {"0050183408010010", 50, 408, 1, 1, "4083", "Быстрое взятие на охрану"},
        // digits above 9 count their value; in the key they give two characters
        {"ABCD18113A0B0C0F", 11233, 140, 11, 120, "13101", ""},
        {"005018113B000000", 50, 141, 0, 0, "13111", ""},
        // qualifier 2 is no qualifier of the table
        {"0050182130010050", 50, 130, 1, 5, "1302", ""},
    };
    const TCidEventTable& table = TCidEventTable::Builtin();
    for (const Case& c : cases) {
        const THistoryRec rec = WithMessage(c.digits);
        EXPECT_EQ(ObjectNumber(rec), c.object) << c.digits;
        EXPECT_EQ(EventCode(rec), c.code) << c.digits;
        EXPECT_EQ(PartitionNumber(rec), c.partition) << c.digits;
        EXPECT_EQ(ZoneNumber(rec), c.zone) << c.digits;
        EXPECT_EQ(EventKey(rec), c.key) << c.digits;
        EXPECT_EQ(EventText(rec, table), QString::fromUtf8(c.text)) << c.digits;
        EXPECT_EQ(RawMessage(rec), c.digits) << c.digits;
    }
}

// Entries 1 CSD and 2 SMS in direction 1, 3 GPRS IP1 in direction 2, then
// a voice call, GPRS IP2, SMS Relvan, a code the tool does not know, and a
// free entry.
TDirectionTable SomeDirections() {
    const uint8_t channels[8] = {ctCsd, ctSmsMobile, ctGprsIp1, ctVoice, ctGprsIp2, ctSmsRelvan, 9, ctNone};
    const uint8_t numbers[8] = {1, 1, 2, 3, 4, 5, 6, 6};
    TDirectionTable t;
    for (int i = 0; i < 8; ++i) {
        t[size_t(i)].Direction = numbers[i];
        t[size_t(i)].Channel = channels[i];
    }
    return t;
}

TEST(RecordValuesTest, ChannelsNameTheEntriesTheEventWentOutThrough) {
    struct Case {
        uint8_t sendflag, phones;
        const char* text;
    };
    const Case cases[] = {
        {0, 0xFF, ""},
        {0, 0xFE, "CSD на тел. 1;"},
        {0, 0xFC, "CSD на тел. 1;SMS на тел. 2;"},
        {0, 0xFA, "CSD на тел. 1;GPRS IP 1; "},
        {1, 0xFB, "GPRS IP 1; "},
        {0, 0x00,
         "CSD на тел. 1;SMS на тел. 2;GPRS IP 1; Голосовой звонок; GPRS IP 2; SMS Relvan; Не определено; "},
        {0, 0x7F, ""}, // the free entry 8
        {2, 0x00, "GPRS"},
        {2, 0xFF, "GPRS"},
    };
    const TDirectionTable directions = SomeDirections();
    for (const Case& c : cases) {
        THistoryRec rec;
        rec.sendflag = c.sendflag;
        rec.phones = c.phones;
        EXPECT_EQ(ChannelsText(rec, directions), QString::fromUtf8(c.text)) << int(c.phones);
    }

    TDirectionTable twoSms{};
    twoSms[0].Channel = twoSms[1].Channel = ctSmsMobile;
    THistoryRec rec;
    rec.phones = 0xFC;
    EXPECT_EQ(ChannelsText(rec, twoSms), QStringLiteral("SMS на тел. 1;SMS на тел. 2;"));
    EXPECT_EQ(ChannelText(ctNone), QString());
    EXPECT_EQ(ChannelText(200), QStringLiteral("Не определено; "));
}

TEST(RecordValuesTest, DeliveredToAllComparesEntriesWithDirections) {
    TDirectionTable directions{};
    directions[7].Direction = 2;
    EXPECT_EQ(DirectionCount(directions), 2);
    EXPECT_EQ(DirectionCount(TDirectionTable{}), 0);
    struct Case {
        uint8_t sendflag, phones;
        int delivered;
        bool list, exported;
    };
    const Case cases[] = {
        {0, 0xFA, 2, true, true},   // one entry of each direction
        {0, 0xFE, 1, false, false}, // direction 2 missed
        {0, 0xFF, 0, false, false}, // not delivered
        {0, 0x00, 8, false, false}, // more entries than directions
        {2, 0xFF, 0, true, false},  // the GPRS online link counts in the list only
        {2, 0xFA, 2, true, true},
    };
    for (const Case& c : cases) {
        THistoryRec rec;
        rec.sendflag = c.sendflag;
        rec.phones = c.phones;
        EXPECT_EQ(DeliveredCount(rec), c.delivered) << int(c.phones);
        EXPECT_EQ(DeliveredToAll(rec, directions, TRecordView::List), c.list)
            << int(c.sendflag) << int(c.phones);
        EXPECT_EQ(DeliveredToAll(rec, directions, TRecordView::Export), c.exported)
            << int(c.sendflag) << int(c.phones);
    }
}

TEST(RecordValuesTest, DatesFollowTheLocaleAndLeaveOutMidnight) {
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QDateTime morning(QDate(2024, 3, 1), QTime(7, 12, 5), Qt::UTC);
    const QDateTime midnight(QDate(2024, 3, 1), QTime(0, 0), Qt::UTC);
    EXPECT_EQ(DateTimeText(morning, ru), "01.03.2024 07:12:05");
    EXPECT_EQ(DateTimeText(midnight, ru), "01.03.2024");
    EXPECT_EQ(DateTimeText(NoDate(), ru), "30.12.1899");
    EXPECT_EQ(DateTimeText(QDateTime(), ru), "");
    // No time zone, in any locale: the panel's clock has none.
    EXPECT_EQ(DateTimeText(morning, us), us.toString(morning.date(), QLocale::ShortFormat) + " 7:12:05 AM");
}

TEST(RecordValuesTest, ListAndExportShowTheSameCellsButTwo) {
    THistoryRec rec = WithMessage("0050181130010050");
    rec.index = 79;
    rec.datetime = QDateTime(QDate(2024, 3, 1), QTime(7, 12, 0), Qt::UTC);
    rec.globalindex = 0xFFFFFFFFu;
    rec.sendflag = 2;
    rec.phones = 0xFF;
    rec.csisvalud = false;
    TDirectionTable directions = SomeDirections();
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    const QStringList list = RecordTexts(rec, TCidEventTable::Builtin(), directions, TRecordView::List, ru);
    const QStringList expected = {"79",
                                  "01.03.2024 07:12:00",
                                  "50",
                                  "130",
                                  "1",
                                  "5",
                                  "Тревога по зоне",
                                  "0050181130010050",
                                  "ДА",
                                  "ДА",
                                  "GPRS",
                                  "4294967295",
                                  "НЕТ"};
    EXPECT_EQ(list, expected);
    QStringList exported = expected;
    exported[hcMessage] = "'0050181130010050";
    exported[hcDeliveredAll] = "НЕТ";
    EXPECT_EQ(RecordTexts(rec, TCidEventTable::Builtin(), directions, TRecordView::Export, ru), exported);
    EXPECT_EQ(HistoryColumnCaptions(),
              (QStringList{"№", "Время", "Объект", "Код", "Раздел", "Шлейф", "Событие CID", "Посылка",
                           "КС CID", "Передано по всем", "Каналы передачи", "Глобальный индекс", "КС"}));
}

} // namespace
