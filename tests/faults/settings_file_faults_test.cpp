// A whole configuration kept in a file and put back into the panel while the
// panel misbehaves: Read all, Save to file, Load from file and Write all
// through the window's actions, the file dialogs answered as a user would.
// Faults the protocol absorbs give the file of a clean run byte for byte and
// leave the panel holding what was kept; a parameter the panel does not
// answer is named, and no file the user saved before is touched unless the
// user saves over it (and then it is whole). The command line's read and
// write keep the same file under a noisy line.
#include "cli/CliPages.h"
#include "cli_run.h"
#include "fault_checks.h"
#include "file_dialogs.h"
#include "main_window_fixture.h"
#include "pages/SettingsCompare.h"
#include "pages/SettingsFile.h"
#include "pages/SettingsPages.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>

#include <map>

namespace {

constexpr uint32_t kTimeOutMs = kFaultTimeOutMs;

emu::Faults Fault(std::function<void(emu::Faults&)> set) {
    emu::Faults f;
    set(f);
    return f;
}

std::map<QString, QByteArray> PanelValues(emu::EmulatedPanel& p) {
    std::map<QString, QByteArray> values;
    for (const QString& name : p.parameterNames())
        values[name] = p.parameterBytes(name);
    return values;
}

QByteArray BytesOf(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class SettingsFileFaults : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        ASSERT_TRUE(panel);
        ASSERT_TRUE(scratch.isValid());
        // A configuration that is neither the factory's nor the tool's
        // defaults, so that a read and a write both show.
        ASSERT_TRUE(panel->setParameter("+o", "4321"));
        ASSERT_TRUE(panel->setParameter("+IPadr", "010.000.000.001"));
        ASSERT_TRUE(panel->setParameter("+enaing", "00"));
        ASSERT_TRUE(panel->setParameter("+phing1", "5551234"));
        ASSERT_TRUE(panel->setParameter("+smstext2", QString::fromUtf8("Изменено = вот так")));
        ASSERT_TRUE(panel->setParameter("+alphon0", "110002=+79990000000"));
        kept = PanelValues(*panel);
    }

    QString path(const QString& name) const { return scratch.filePath(name); }

    // Triggers a file action with `file` typed into its dialog; a save over
    // an existing file is confirmed in the dialog's own question.
    void trigger(TMainForm& w, const char* name, const QString& file) {
        FileDialogAnswers answers({file});
        QTimer overwrite;
        QObject::connect(&overwrite, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                if (QAbstractButton* yes = box->button(QMessageBox::Yes))
                    yes->click();
        });
        overwrite.start(10);
        action(w, name)->trigger();
        EXPECT_TRUE(answers.used()) << name;
    }

    // Everything the error list showed while `op` ran.
    QStringList listed(TMainForm& w, const std::function<void()>& op) {
        QStringList names;
        TErrorListForm* list = w.ErrorListForm();
        list->hide();
        TEventLoopProbe probe;
        const auto collect = [&] {
            if (list->isVisible())
                for (const QString& item : list->Items())
                    if (!names.contains(item))
                        names << item;
        };
        const QMetaObject::Connection watch =
            QObject::connect(w.CommandExchange(), &TCommandExchange::LogLine, &w, [&] {
                probe.Check();
                collect();
            });
        op();
        QObject::disconnect(watch);
        collect();
        EXPECT_EQ(probe.Starved(), 0) << "the event loop stood still " << probe.MaxGapMs() << " ms";
        return names;
    }

    // Read all from the panel as it is (the pages on their defaults before)
    // under `faults`, then saved to `file`; the names the error list showed.
    QStringList readAndSave(TMainForm& w, const emu::Faults& faults, const QString& file) {
        answerYes = true;
        w.DefaultAllActionExecute();
        panel->setFaults(faults);
        const QStringList names = listed(w, [&] { w.ReadAllActionExecute(); });
        panel->setFaults({});
        trigger(w, "SaveSettingsAction", file);
        return names;
    }

    // `file` loaded into the pages and written, the journal's erase
    // confirmed, onto a panel back at its factory values, under `faults`.
    QStringList loadAndWrite(TMainForm& w, const emu::Faults& faults, const QString& file) {
        answerYes = true;
        w.DefaultAllActionExecute();
        trigger(w, "LoadSettingsAction", file);
        panel->resetParameters();
        panel->setFaults(faults);
        const QStringList names = listed(w, [&] { w.WriteAllActionExecute(); });
        panel->setFaults({});
        return names;
    }

    std::unique_ptr<TMainForm> connectedWindow() { return MainWindow::connectedWindow(kTimeOutMs); }

    QTemporaryDir scratch;
    TSavedFiles saved;
    std::map<QString, QByteArray> kept;
};

struct TRoundTripCase {
    const char* Name;
    emu::Faults Faults;
};

const TRoundTripCase kRoundTripCases[] = {
    {"bytes split", Fault([](auto& f) { f.splitBytes = true; })},
    {"LF and > sprinkled", Fault([](auto& f) { f.sprinkle = true; })},
    {"garbage before answers", Fault([](auto& f) { f.garbage = true; })},
    {"reporting entries answered only on retry", Fault([](auto& f) {
         f.answerOnRetry = true;
         f.onlyCommand = "+alphon";
     })},
    {"every 7th command dropped", Fault([](auto& f) { f.dropEvery = 7; })},
};

TEST_F(SettingsFileFaults, RoundTripUnderFaultsTheProtocolAbsorbs) {
    auto w = connectedWindow();
    ASSERT_TRUE(w->Connected());
    const QString clean = path("clean.ini");
    ASSERT_TRUE(readAndSave(*w, {}, clean).isEmpty());
    const QByteArray cleanBytes = BytesOf(clean);
    ASSERT_TRUE(cleanBytes.contains("4321"));
    ASSERT_TRUE(loadAndWrite(*w, {}, clean).isEmpty());
    ASSERT_EQ(PanelValues(*panel), kept) << "a clean round trip puts the configuration back";

    for (const TRoundTripCase& c : kRoundTripCases) {
        SCOPED_TRACE(c.Name);
        panel->resetParameters();
        for (const auto& [name, bytes] : kept)
            ASSERT_TRUE(panel->storeParameterBytes(name, bytes)) << name.toStdString();
        const QString file = path(QString("case%1.ini").arg(&c - kRoundTripCases));
        EXPECT_EQ(readAndSave(*w, c.Faults, file), QStringList()) << "Read all";
        EXPECT_EQ(BytesOf(file), cleanBytes);
        EXPECT_EQ(loadAndWrite(*w, c.Faults, file), QStringList()) << "Write all";
        EXPECT_EQ(PanelValues(*panel), kept);
        EXPECT_TRUE(w->Connected());
        EXPECT_EQ(saved.Changes(), "");
        // What is still owed to the faulty run is written off once past its
        // deadline (its time-out and the late bound).
        QTest::qWait(int(w->CommandExchange()->Timings().TimeOutCapMs + w->CommandExchange()->Timings().LateMs) + 50);
    }
}

// A parameter the panel never answers: the read names it and the page keeps
// what it held; saving to another file leaves the earlier one alone, saving
// over it writes it whole; the write names it too and puts back the rest.
TEST_F(SettingsFileFaults, ASilentParameterIsNamedAndNoSavedFileIsLost) {
    const QString dispatcher = "Параметры диспетчерской связи";
    const emu::Faults silent = Fault([](auto& f) {
        f.dropEvery = 1;
        f.onlyCommand = "+disp";
    });
    auto w = connectedWindow();
    ASSERT_TRUE(w->Connected());
    const QString earlier = path("earlier.ini");
    ASSERT_TRUE(readAndSave(*w, {}, earlier).isEmpty());
    const QByteArray earlierBytes = BytesOf(earlier);

    const QString other = path("other.ini");
    EXPECT_EQ(readAndSave(*w, silent, other), QStringList{dispatcher});
    EXPECT_EQ(BytesOf(earlier), earlierBytes) << "a file saved before is untouched";
    const QByteArray partial =
        TSettingsFile::Encode(SettingsLines(CollectPageSettings(SettingsPages(w->Frames()))));
    EXPECT_EQ(BytesOf(other), partial) << "what the pages hold";

    // Saved over the earlier file: whole, and it loads back as written.
    trigger(*w, "SaveSettingsAction", earlier);
    EXPECT_EQ(BytesOf(earlier), partial);
    EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files), (QStringList{"earlier.ini", "other.ini"}))
        << "no temporary file is left beside it";
    TSettingsFile reread;
    ASSERT_TRUE(reread.Read(earlier));
    EXPECT_EQ(TSettingsFile::Encode(reread.Lines()), partial);

    // The clean copy written back under the same fault: the dispatcher line
    // is named (the panel keeps its factory value there, which the kept
    // configuration shares), everything else is put back.
    ASSERT_TRUE(readAndSave(*w, {}, earlier).isEmpty());
    EXPECT_EQ(loadAndWrite(*w, silent, earlier), QStringList{dispatcher});
    EXPECT_EQ(PanelValues(*panel), kept);
    EXPECT_EQ(saved.Changes(), "");
}

// The command line's read and write under a noisy line: the same file as
// on a clean line, and the panel holds it after the write.
TEST_F(SettingsFileFaults, CommandLineReadAndWriteOnANoisyLine) {
    const auto cli = [&](const QStringList& args) {
        const CliRun r = RunCaught(RunCliWithPages, args, timings);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
    };
    const QString clean = path("clean.ini"), noisy = path("noisy.ini");
    cli({"read", "--port", panel->slavePath(), "--out", clean});
    const emu::Faults noise = Fault([](auto& f) {
        f.sprinkle = true;
        f.garbage = true;
    });
    panel->setFaults(noise);
    cli({"read", "--port", panel->slavePath(), "--out", noisy});
    panel->setFaults({});
    ASSERT_FALSE(BytesOf(clean).isEmpty());
    EXPECT_EQ(BytesOf(noisy), BytesOf(clean));

    panel->resetParameters();
    panel->setFaults(noise);
    cli({"write", "--port", panel->slavePath(), noisy, "--erase-journal"});
    panel->setFaults({});
    EXPECT_EQ(PanelValues(*panel), kept);
    EXPECT_EQ(saved.Changes(), "");
}

} // namespace
