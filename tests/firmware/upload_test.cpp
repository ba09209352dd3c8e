// The upload against the emulated panel over a pty: the exact commands on
// the wire, every real image written and checked by the panel, the stop at
// a refused erase or block or an unconfirmed final check (nothing sent after
// it, "+EE" least of all), cancel between blocks, and the progress reports.
#include "boot_link.h"
#include "firmware/FirmwareImage.h"
#include "hex_lines.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QByteArray DataOf(const QStringList& image) {
    QByteArray data;
    for (const QString& line : image)
        data += QByteArray::fromHex(line.mid(9).chopped(2).toLatin1());
    return data;
}

class Upload : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(link.Open()); }

    TBootLink link;
    TUploadFirmware engine{link.exchange};
};

TEST_F(Upload, SixteenLinesGoOnTheWireAsTheseCommands) {
    QStringList image;
    for (int i = 0; i < 16; ++i)
        image << HexRecordLine(0, quint32(i), QByteArray(1, char(i + 1)));
    ASSERT_EQ(image.first(), ":0100000001FE");

    const TUploadResult result = RunUpload(engine, image);
    EXPECT_TRUE(result.Ok()) << result.Message.toStdString();
    EXPECT_EQ(link.panel->receivedLines(),
              (QStringList{"CABLE CONNECT", "+BL", "+v", "+BE", "+W0000:0102030405060708:08",
                           "+W0008:090A0B0C0D0E0F10:18", "+EE08180000"}));
    EXPECT_EQ(link.panel->finalCheckPassed(), std::optional<bool>(true));
    EXPECT_EQ(link.panel->flashedImage(), QByteArray::fromHex("0102030405060708090A0B0C0D0E0F10"));
    EXPECT_EQ(result.Message, "Прошивка записана: блоков 2, проверка пройдена.");
}

TEST_F(Upload, EveryRealImageIsWrittenAndPassesThePanelsCheck) {
    for (const TRealImage& real : kRealImages) {
        TFirmwareImage image;
        QString error;
        ASSERT_TRUE(LoadFirmwareFile(RealImagePath(real.File), image, error)) << error.toStdString();
        ASSERT_EQ(image.Lines.size(), real.Lines);
        link.panel->clearRecords();

        QSignalSpy steps(&engine, &TUploadFirmware::StepChanged);
        const TUploadResult result = RunUpload(engine, image.Lines);
        EXPECT_TRUE(result.Ok()) << real.File << ": " << result.Message.toStdString();
        EXPECT_EQ(link.panel->finalCheckPassed(), std::optional<bool>(true)) << real.File;
        EXPECT_EQ(link.panel->flashedImage(), DataOf(image.Lines)) << real.File;
        const int blocks = (real.Lines + 7) / 8;
        EXPECT_EQ(link.panel->commandCount("+W"), blocks) << real.File;
        // Every step announced once, the blocks in order.
        ASSERT_EQ(steps.count(), blocks + 3) << real.File;
        EXPECT_EQ(steps.at(0).at(0).value<TUploadStep>(), TUploadStep::EnterBootLoader);
        EXPECT_EQ(steps.at(1).at(0).value<TUploadStep>(), TUploadStep::EraseFlash);
        for (int k = 1; k <= blocks; ++k)
            EXPECT_EQ(steps.at(1 + k).at(1).toInt(), k);
        EXPECT_EQ(steps.last().at(0).value<TUploadStep>(), TUploadStep::FinalCheck);
        // The panel restarted out of its boot loader; the next image needs a new session.
        EXPECT_FALSE(link.panel->inBootLoader());
        ASSERT_TRUE(link.Session());
    }
}

TEST_F(Upload, ARefusedBlockStopsTheUploadWithoutTheFinalCommand) {
    emu::Faults f;
    f.refuseBlock = 3;
    link.panel->setFaults(f);
    engine.SetTimeOuts(ShortUploadTimeOuts());
    const TUploadResult result = RunUpload(engine, DataRecords(40));

    EXPECT_EQ(result.Outcome, TUploadResult::Failed);
    EXPECT_EQ(result.Step, TUploadStep::WriteBlock);
    EXPECT_EQ(result.Block, 3);
    EXPECT_EQ(result.ErrorList, QStringList{"Ошибка при перепрошивке"});
    EXPECT_EQ(result.Message, "Не удалось выполнить шаг «Запись блока 3 из 5»: панель не приняла блок. "
                              "Панель осталась в загрузчике; чтобы восстановить её, запустите обновление ещё "
                              "раз.");
    const QStringList lines = link.panel->receivedLines();
    EXPECT_EQ(lines.filter(QRegularExpression("^\\+W0010:")).size(), 1)
        << "a refusal is the panel's answer: not sent again";
    EXPECT_TRUE(lines.filter(QRegularExpression("^\\+W0018:")).isEmpty()) << "nothing after the failed block";
    EXPECT_EQ(link.panel->commandCount("+EE"), 0);
    EXPECT_TRUE(link.panel->inBootLoader());
}

TEST_F(Upload, ARefusedEraseStopsBeforeAnyBlock) {
    emu::Faults f;
    f.refuseErase = true;
    link.panel->setFaults(f);
    engine.SetTimeOuts(ShortUploadTimeOuts());
    const TUploadResult result = RunUpload(engine, DataRecords(16));

    EXPECT_EQ(result.Outcome, TUploadResult::Failed);
    EXPECT_EQ(result.Step, TUploadStep::EraseFlash);
    EXPECT_EQ(result.ErrorList, QStringList{"Не могу очистить флеш"});
    EXPECT_TRUE(result.Message.startsWith("Не удалось выполнить шаг «Очистка флеш-памяти»"));
    EXPECT_TRUE(result.Message.endsWith("запустите обновление ещё раз."));
    EXPECT_EQ(link.panel->commandCount("+W"), 0);
    EXPECT_EQ(link.panel->commandCount("+EE"), 0);
}

TEST_F(Upload, AnUnconfirmedFinalCheckIsNoSuccess) {
    emu::Faults f;
    f.dropEvery = 1;
    f.onlyCommand = "+EE";
    link.panel->setFaults(f);
    engine.SetTimeOuts(ShortUploadTimeOuts());
    const TUploadResult result = RunUpload(engine, DataRecords(16));

    EXPECT_EQ(result.Outcome, TUploadResult::Failed);
    EXPECT_EQ(result.Step, TUploadStep::FinalCheck);
    EXPECT_TRUE(result.Message.startsWith("Не удалось выполнить шаг «Проверка»"))
        << result.Message.toStdString();
    EXPECT_EQ(link.panel->commandCount("+W"), 2);
}

TEST_F(Upload, CancelStopsBetweenBlocks) {
    // Asked while the third block is on its way: that block is finished, the
    // fourth is not sent.
    const auto cancel =
        QObject::connect(&engine, &TUploadFirmware::StepChanged, [&](TUploadStep step, int block, int) {
            if (step == TUploadStep::WriteBlock && block == 3)
                engine.Cancel();
        });
    const TUploadResult result = RunUpload(engine, DataRecords(40));

    EXPECT_EQ(result.Outcome, TUploadResult::Cancelled);
    EXPECT_EQ(result.Block, 4);
    EXPECT_EQ(result.Message, "Обновление прервано перед блоком 4 из 5. Панель осталась в загрузчике; чтобы "
                              "восстановить её, запустите обновление ещё раз.");
    EXPECT_EQ(link.panel->commandCount("+W"), 3);
    EXPECT_EQ(link.panel->commandCount("+EE"), 0);
    EXPECT_FALSE(engine.Running());

    // The panel waits in its boot loader; the update run again finishes it.
    QObject::disconnect(cancel);
    const TUploadResult again = RunUpload(engine, DataRecords(40));
    EXPECT_TRUE(again.Ok()) << again.Message.toStdString();
    EXPECT_EQ(link.panel->finalCheckPassed(), std::optional<bool>(true));
}

TEST_F(Upload, ProgressIsReportedOnlyWhenTheWholePercentChanges) {
    // 300 blocks: three blocks or so to a percent.
    QSignalSpy progress(&engine, &TUploadFirmware::ProgressChanged);
    const TUploadResult result = RunUpload(engine, DataRecords(2400));
    ASSERT_TRUE(result.Ok()) << result.Message.toStdString();

    ASSERT_EQ(progress.count(), 101);
    for (int i = 0; i < progress.count(); ++i)
        EXPECT_EQ(progress.at(i).at(0).toInt(), i);
    EXPECT_EQ(progress.first().at(1).toLongLong(), -1) << "no estimate before a block is written";
    for (int i = 1; i < progress.count(); ++i)
        EXPECT_GE(progress.at(i).at(1).toLongLong(), 0);
    EXPECT_EQ(progress.last().at(1).toLongLong(), 0);
}

TEST_F(Upload, NothingStartsTwiceOrWithoutData) {
    EXPECT_FALSE(engine.UploadFirmware({}));
    EXPECT_FALSE(engine.UploadFirmware({kEndOfFile}));
    EXPECT_TRUE(engine.UploadFirmware(DataRecords(8)));
    EXPECT_FALSE(engine.UploadFirmware(DataRecords(8))) << "while one runs";
    QSignalSpy finished(&engine, &TUploadFirmware::Finished);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(link.panel->commandCount("+W"), 1);
}

TEST_F(Upload, ASlowBootLoadersLateAnswersAreNeverTakenForTheNextStep) {
    // Every answer of the boot loader comes later than the time-out of "+v"
    // and of the late bound, and every sixth command is lost: a late "OK"
    // must never confirm the next step (the erase, a block, the final
    // check). Success is told only when the panel itself passed the check.
    emu::Faults f;
    f.extraDelayMs = 200;
    f.dropEvery = 6;
    link.panel->setFaults(f);
    TLinkTimings timings;
    timings.LateMs = 150;
    link.exchange.SetTimings(timings);
    TUploadTimeOuts t;
    t.BootCheck = 80;
    t.FlashErase = t.Block = t.FinalCheck = t.BootLoaderAnswer = 600;
    engine.SetTimeOuts(t);
    const QStringList image = DataRecords(24);

    const TUploadResult result = RunUpload(engine, image);
    EXPECT_TRUE(result.Ok()) << result.Message.toStdString();
    EXPECT_EQ(link.panel->finalCheckPassed(), std::optional<bool>(true));
    EXPECT_EQ(link.panel->flashedImage(), DataOf(image));
    EXPECT_GT(link.panel->commandCount("+v"), 1) << "the boot loader's version came after its time-out";
}

} // namespace
