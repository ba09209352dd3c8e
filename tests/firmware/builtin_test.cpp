// The built-in firmware path with a list and an image built into this test
// as resources: the version, the image's name for the panel's memory, the
// image itself, and the whole update of an emulated panel from it.
#include "boot_link.h"
#include "firmware/FirmwareImage.h"
#include "firmware/UpdateFirmware.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

TDeviceVersion Panel(const QString& memory) {
    TDeviceVersion v;
    v.Name = "REV 07.700.125";
    v.Major = 7;
    v.Minor = 700;
    v.Release = 125;
    v.Memory = memory;
    return v;
}

TEST(BuiltInFirmware, TheListGivesTheVersionAndTheImageName) {
    EXPECT_EQ(GetBuiltInVersion(), "07.700.126");
    EXPECT_EQ(GetBuiltInVersion(":/nokeys"), "");
    EXPECT_EQ(GetBuiltInVersion(":/nowhere"), "no update");

    struct Case {
        QString memory;
        QString root;
        QString name;
    };
    const Case cases[] = {
        {"M45PE16", ":", "M45PE16_T"}, {"Unknown", ":", "no update"},
        {"", ":", "no update"},        {"m45pe16", ":", "no update"}, // the letter M, upper case
        {"M45PE16", ":/nokeys", ""},   {"M45PE16", ":/nowhere", "no update"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetImageName(c.memory, c.root), c.name) << c.memory.toStdString() << c.root.toStdString();
}

TEST(BuiltInFirmware, TheImageIsLoadedForAnMPanelOnly) {
    const std::optional<QStringList> image = LoadBuiltInImage(Panel("M45PE16"));
    ASSERT_TRUE(image);
    QFile file(":/FIRMWARE/M45PE16_T");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(image->join("\r\n") + "\r\n", QString::fromLatin1(file.readAll()));
    EXPECT_EQ(image->size(), 21);

    EXPECT_FALSE(LoadBuiltInImage(Panel("Unknown")));
    EXPECT_FALSE(LoadBuiltInImage(Panel("M45PE16"), ":/gone")) << "the list names an image that is not there";
    EXPECT_FALSE(LoadBuiltInImage(Panel("M45PE16"), ":/knock")) << "a name with \"no\" in it is no image";
    EXPECT_FALSE(LoadBuiltInImage(Panel("M45PE16"), ":/nokeys"));
}

TEST(BuiltInFirmware, AnEmulatedPanelIsUpdatedFromTheBuiltInImage) {
    TBootLink link;
    ASSERT_TRUE(link.Open());
    const TDeviceVersion panel = Panel("M45PE16");
    ASSERT_TRUE(NeedUpdate(panel, GetBuiltInVersion()));
    const std::optional<QStringList> lines = LoadBuiltInImage(panel);
    ASSERT_TRUE(lines);
    const TFirmwareImage image{":/FIRMWARE/M45PE16_T", *lines};
    ASSERT_EQ(ValidateFirmwareImage(image), "");

    TUploadFirmware engine(link.exchange);
    const TUploadResult result = RunUpload(engine, image.Lines);
    EXPECT_TRUE(result.Ok()) << result.Message.toStdString();
    EXPECT_EQ(link.panel->finalCheckPassed(), std::optional<bool>(true));
    QByteArray data;
    for (const QString& line : *lines)
        data += QByteArray::fromHex(line.mid(9).chopped(2).toLatin1());
    EXPECT_EQ(link.panel->flashedImage(), data);
    EXPECT_EQ(link.panel->commandCount("+W"), 3) << "20 lines and the end: two blocks of 8 and one of 5";
}

} // namespace
