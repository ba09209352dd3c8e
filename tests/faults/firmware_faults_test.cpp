// The firmware update from a file through the window's menu, against a
// boot loader that misbehaves. Faults the protocol absorbs end in the image
// written whole and the check passed; the others stop the upload with a
// message that names the step, and the final command is never sent after a
// step that failed. Either way the panel is disconnected afterwards.
#include "fault_checks.h"
#include "firmware/UploadFirmware.h"
#include "hex_lines.h"
#include "main_window_fixture.h"
#include "mainwindow/FirmwareActions.h"

#include <QFile>
#include <QFileDialog>

#include <functional>

namespace {

emu::Faults Fault(std::function<void(emu::Faults&)> set) {
    emu::Faults f;
    set(f);
    return f;
}

QByteArray DataOf(const QStringList& image) {
    QByteArray data;
    for (const QString& line : image)
        data += QByteArray::fromHex(line.mid(9).chopped(2).toLatin1());
    return data;
}

struct TUploadCase {
    const char* Name;
    emu::Faults Faults;
    QString Says; // in the error box; none: written and checked
};

const TUploadCase kUploadCases[] = {
    {"bytes split", Fault([](auto& f) { f.splitBytes = true; }), {}},
    {"LF and > sprinkled", Fault([](auto& f) { f.sprinkle = true; }), {}},
    {"garbage before answers", Fault([](auto& f) { f.garbage = true; }), {}},
    {"blocks answered only on retry", Fault([](auto& f) {
         f.answerOnRetry = true;
         f.onlyCommand = "+W";
     }),
     {}},
    {"every 4th command dropped", Fault([](auto& f) { f.dropEvery = 4; }), {}},
    {"answers 30 ms late", Fault([](auto& f) { f.extraDelayMs = 30; }), {}},
    {"hang-up inside a block's answer", Fault([](auto& f) {
         f.hangupAt = 2;
         f.onlyCommand = "+W";
     }),
     {}},
    {"erase refused", Fault([](auto& f) { f.refuseErase = true; }),
     "Не удалось выполнить шаг «Очистка флеш-памяти»"},
    {"block 3 refused", Fault([](auto& f) { f.refuseBlock = 3; }),
     "Не удалось выполнить шаг «Запись блока 3 из 5»"},
    {"boot loader silent at the blocks", Fault([](auto& f) {
         f.dropEvery = 1;
         f.onlyCommand = "+W";
     }),
     "Не удалось выполнить шаг «Запись блока 1 из 5»"},
    {"final check silent", Fault([](auto& f) {
         f.dropEvery = 1;
         f.onlyCommand = "+EE";
     }),
     "Не удалось выполнить шаг «Проверка»"},
};

class FirmwareFaults : public MainWindow {
protected:
    static constexpr uint32_t kTimeOutMs = kFaultTimeOutMs;

    // Starts the update from `path` through the menu and the open dialog.
    bool startFromFile(TMainForm& w, const QString& path) {
        QTimer::singleShot(0, [path] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                ADD_FAILURE() << "no file dialog";
                return;
            }
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
            static_cast<QDialog*>(dialog)->accept();
        });
        child<QAction>(&w, "UpdateFromFileAction")->trigger();
        return w.FirmwareActions().Running();
    }

    TSavedFiles saved;
};

TEST_F(FirmwareFaults, UploadUnderEachFault) {
    QStringList image = DataRecords(40); // five blocks of eight lines
    image << kEndOfFile;
    QTemporaryDir scratch;
    const QString path = scratch.filePath("image.hex");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write((image.join("\r\n") + "\r\n").toLatin1());
    }
    for (const TUploadCase& c : kUploadCases) {
        SCOPED_TRACE(c.Name);
        panel = StartEmulatedPanel(QuickPanelSettings());
        ASSERT_TRUE(panel);
        auto w = makeWindow();
        TUploadTimeOuts t;
        t.BootCheck = t.FlashErase = t.Block = t.FinalCheck = t.BootLoaderAnswer = kTimeOutMs;
        w->FirmwareActions().SetTimeOuts(t);
        connectWindow(*w);
        ASSERT_TRUE(w->Connected());
        capTimeOuts(*w, kTimeOutMs);
        panel->clearRecords();
        panel->setFaults(c.Faults);
        boxes.clear();

        TEventLoopProbe probe;
        QObject::connect(w->CommandExchange(), &TCommandExchange::LogLine, &probe, [&] { probe.Check(); });
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(startFromFile(*w, path));
        ASSERT_TRUE(waitUntil(
            [&] { return !w->FirmwareActions().Running() && !w->Connected() && !w->Busy(); }, 20000));
        const qint64 ms = clock.elapsed();
        EXPECT_EQ(probe.Starved(), 0);
        // Every line sent may have waited out its attempts and the late bound.
        TLinkTimings capped = timings;
        capped.TimeOutCapMs = kTimeOutMs;
        capped.LateMs = std::min(capped.LateMs, 2 * kTimeOutMs);
        const int sends = int(panel->receivedLines().size());
        EXPECT_LE(ms, OperationBoundMs(capped, sends, qint64(c.Faults.extraDelayMs + 50) * sends));

        const QStringList lines = panel->receivedLines();
        EXPECT_EQ(lines.last(), "CABLE DISCONNECT") << "the update ends with the disconnect";
        ASSERT_FALSE(boxes.empty());
        const auto& [kind, text] = boxes.back();
        if (c.Says.isEmpty()) {
            EXPECT_EQ(kind, TBoxKind::Plain);
            EXPECT_TRUE(text.startsWith("Прошивка записана: блоков 5, проверка пройдена."))
                << text.toStdString();
            EXPECT_EQ(panel->flashedImage(), DataOf(image.mid(0, 40)));
            EXPECT_EQ(panel->finalCheckPassed(), std::optional<bool>(true));
        } else {
            EXPECT_EQ(kind, TBoxKind::Error);
            EXPECT_TRUE(text.startsWith(c.Says)) << text.toStdString();
            EXPECT_FALSE(text.contains("Прошивка записана"));
            if (!QString(c.Name).startsWith("final")) {
                EXPECT_TRUE(lines.filter(QRegularExpression("^\\+EE")).isEmpty()) << "no final command";
            }
        }
        EXPECT_EQ(saved.Changes(), "");
    }
}

} // namespace
