// The progress window on the offscreen platform: it follows the engine's
// signals (step in words, percent, time left), cannot be closed by the user,
// and its Cancel asks first and then stops the engine between blocks.
#include "firmware/UpdateProgressUnit.h"
#include "firmware/UploadFirmware.h"
#include "hex_lines.h"

#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <gtest/gtest.h>

namespace {

// A boot loader that says "OK" to everything at once; `during` runs inside
// each exchange, as the window's events would.
class TQuickBootLoader : public TPanelExchange {
public:
    QStringList sent;
    std::function<void(const QString&)> during;

    bool DeviceCommandLst(const QString& ACommand, QStringList& Res, uint32_t) override {
        sent << ACommand;
        if (during)
            during(ACommand);
        Res = {QStringLiteral("OK")};
        return true;
    }
    bool Uparam() const override { return false; }
    void SetUparam(bool) override {}
};

class ProgressWindow : public ::testing::Test {
protected:
    TUploadResult Run(const QStringList& image) {
        QSignalSpy finished(&engine, &TUploadFirmware::Finished);
        EXPECT_TRUE(engine.UploadFirmware(image));
        EXPECT_TRUE(finished.wait(20000));
        return finished.isEmpty() ? TUploadResult{} : finished.first().first().value<TUploadResult>();
    }
    QMessageBox* Warning() { return form.findChild<QMessageBox*>("CancelWarning"); }

    TQuickBootLoader exchange;
    TUploadFirmware engine{exchange};
    TFormUpdateProgress form{engine};
};

TEST_F(ProgressWindow, ShowsTheStepThePercentAndTheTimeLeft) {
    form.show();
    QMap<QString, QString> seen; // command -> step shown while it was out
    exchange.during = [&](const QString& command) {
        seen[command.left(command.startsWith("+W") ? 6 : 3)] = form.StepLabel->text();
    };
    // 512 blocks of eight one-byte lines.
    QStringList image;
    for (int i = 0; i < 4096; ++i)
        image << HexRecordLine(0, quint32(i), QByteArray(1, char(i)));
    const TUploadResult result = Run(image);
    ASSERT_TRUE(result.Ok());

    EXPECT_EQ(seen.value("+BL"), "Переход в загрузчик");
    EXPECT_EQ(seen.value("+BE"), "Очистка флеш-памяти");
    EXPECT_EQ(seen.value("+W0120"), "Запись блока 37 из 512"); // block 37 at line 288
    EXPECT_EQ(seen.value("+EE"), "Проверка");
    EXPECT_EQ(form.ProgressBar->value(), 100);
    EXPECT_EQ(form.ProgressBar->maximum(), 100);
    EXPECT_EQ(form.TimeLeftLabel->text(), "Осталось: 0 с");
    EXPECT_FALSE(form.CancelButton->isEnabled()) << "nothing to stop once the blocks are written";
}

TEST_F(ProgressWindow, TheUserCannotCloseIt) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.windowTitle(), "Обновление");
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(form.isModal());

    EXPECT_FALSE(form.close());
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(ProgressWindow, CancelWarnsAndThenStopsBeforeTheNextBlock) {
    form.show();
    exchange.during = [&](const QString& command) {
        if (!command.startsWith("+W0008"))
            return;
        QTest::mouseClick(form.CancelButton, Qt::LeftButton);
        QMessageBox* warning = Warning();
        ASSERT_TRUE(warning);
        EXPECT_TRUE(warning->isVisible());
        EXPECT_TRUE(warning->text().contains(QString::fromUtf16(kRecoveryAdvice)));
        warning->button(QMessageBox::Yes)->click();
        EXPECT_TRUE(engine.CancelRequested());
        EXPECT_FALSE(form.CancelButton->isEnabled());
    };
    const TUploadResult result = Run(DataRecords(40));
    EXPECT_EQ(result.Outcome, TUploadResult::Cancelled);
    EXPECT_EQ(exchange.sent.filter(QRegularExpression("^\\+W")).size(), 2);
    EXPECT_TRUE(exchange.sent.filter("+EE").isEmpty());
}

TEST_F(ProgressWindow, ContinuingAfterTheWarningLeavesTheUploadAlone) {
    form.show();
    exchange.during = [&](const QString& command) {
        if (!command.startsWith("+W0008"))
            return;
        QTest::mouseClick(form.CancelButton, Qt::LeftButton);
        ASSERT_TRUE(Warning());
        Warning()->button(QMessageBox::No)->click();
    };
    const TUploadResult result = Run(DataRecords(40));
    EXPECT_TRUE(result.Ok());
    EXPECT_EQ(exchange.sent.filter("+EE").size(), 1);
}

TEST_F(ProgressWindow, AWarningLeftOpenIsWithdrawnWhenTheBlocksAreDone) {
    form.show();
    exchange.during = [&](const QString& command) {
        if (command.startsWith("+W0008"))
            QTest::mouseClick(form.CancelButton, Qt::LeftButton);
    };
    const TUploadResult result = Run(DataRecords(24));
    EXPECT_TRUE(result.Ok());
    QTest::qWait(0);
    EXPECT_TRUE(!Warning() || !Warning()->isVisible());
}

} // namespace
