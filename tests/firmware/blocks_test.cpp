// How an image is cut for the boot loader: the data of each line, blocks of
// eight lines with their addresses and check bytes, and the four lanes of
// the final command.
#include "firmware/FirmwareBlocks.h"
#include "hex_lines.h"

#include <gtest/gtest.h>

namespace {

// Lines of one data byte each: line i carries bytes[i].
QStringList OneByteLines(const QByteArray& bytes) {
    QStringList lines;
    for (int i = 0; i < bytes.size(); ++i)
        lines << HexRecordLine(0, quint32(i), bytes.mid(i, 1));
    return lines;
}

TEST(FirmwareBlocks, BlockCheckByteIsTheExclusiveOrOfTheBytes) {
    struct Case {
        QString data;
        QString check;
    };
    const Case cases[] = {
        {"0102030405", "01"}, {"FF", "FF"},    {"FFFF", "00"},
        {"0a0B", "01"},       {"0A0B1", "00"}, // a last single digit is a value of its own: 0A ^ 0B ^ 1
        {"", "00"},           {"01G2", ""},    // no check byte for a pair that is not hexadecimal
    };
    for (const Case& c : cases)
        EXPECT_EQ(BlockCheckByte(c.data), c.check) << c.data.toStdString();
}

TEST(FirmwareBlocks, AddressesCountLinesNotBytes) {
    const std::pair<int, QString> cases[] = {{0, "0000"},   {1, "0008"},    {2, "0010"},
                                             {128, "0400"}, {8191, "FFF8"}, {8192, "10000"}};
    for (const auto& [block, address] : cases)
        EXPECT_EQ(BlockAddress(block), address) << block;
}

TEST(FirmwareBlocks, ALineGivesTheDataBetweenItsHeadAndItsSum) {
    const QString line43 = ":10E000000D9489F10D94B2F10D94B2F10D94B2F129";
    ASSERT_EQ(line43.size(), 43);
    EXPECT_EQ(TrimImageLine(line43), "0D9489F10D94B2F10D94B2F10D94B2F1");
    EXPECT_EQ(TrimImageLine(kEndOfFile), "");
    // Eight such lines make a block of 256 digits, 128 bytes.
    const TUploadPlan plan = PlanUpload(QStringList(8, line43));
    ASSERT_EQ(plan.Blocks.size(), 1);
    EXPECT_EQ(plan.Blocks[0].Data.size(), 256);
}

TEST(FirmwareBlocks, SixteenLinesMakeTwoBlocksAndTheFinalCommand) {
    const TUploadPlan plan =
        PlanUpload(OneByteLines(QByteArray::fromHex("0102030405060708090A0B0C0D0E0F10")));
    ASSERT_EQ(plan.Blocks.size(), 2);
    EXPECT_EQ(plan.BlockCommand(0), "+W0000:0102030405060708:08");
    EXPECT_EQ(plan.BlockCommand(1), "+W0008:090A0B0C0D0E0F10:18");
    EXPECT_EQ(plan.FinalCommand(), "+EE08180000");
}

TEST(FirmwareBlocks, FiveBlocksFoldIntoTheFirstLaneTwice) {
    // Block k: a first line carrying bit k, then seven lines of zero.
    QByteArray bytes(40, '\0');
    for (int k = 0; k < 5; ++k)
        bytes[k * 8] = char(1 << k);
    const TUploadPlan plan = PlanUpload(OneByteLines(bytes));
    ASSERT_EQ(plan.Blocks.size(), 5);
    const QString checks[] = {"01", "02", "04", "08", "10"};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(plan.Blocks[k].Check, checks[k]) << k;
        EXPECT_EQ(plan.Blocks[k].Address, BlockAddress(k)) << k;
    }
    EXPECT_EQ(plan.FinalCommand(), "+EE11020408"); // lane 1 = blocks 0 and 4
}

TEST(FirmwareBlocks, TheLastBlockHoldsOnlyTheLinesThatExist) {
    struct Case {
        QStringList image;
        int blocks;
        int lastLines;
        int lastDigits;
    };
    const Case cases[] = {
        {DataRecords(19), 3, 3, 3 * 32},
        {DataRecords(16), 2, 8, 8 * 32},
        {DataRecords(16) << kEndOfFile, 2, 8, 8 * 32}, // a block of the end record alone has nothing to write
        {DataRecords(17) << kEndOfFile, 3, 2, 32},
        {DataRecords(1), 1, 1, 32},
    };
    for (const Case& c : cases) {
        const TUploadPlan plan = PlanUpload(c.image);
        ASSERT_EQ(plan.Blocks.size(), c.blocks) << c.image.size();
        EXPECT_EQ(plan.Blocks.last().LineCount, c.lastLines) << c.image.size();
        EXPECT_EQ(plan.Blocks.last().Data.size(), c.lastDigits) << c.image.size();
        EXPECT_EQ(plan.Lines, c.image.size());
    }
    EXPECT_TRUE(PlanUpload({}).Blocks.isEmpty());
}

} // namespace
