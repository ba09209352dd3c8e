// crash_writer: writes one of the tool's files again and again with the
// tool's own writing code, so that a test can kill it at any moment.
//
//   crash_writer WRITER PATH a|b   writes content A or B once and exits 0
//   crash_writer WRITER PATH loop  prints "ready", then writes B, A, B, ...
//                                  for ever, printing "." after each write
//
// WRITER is one of: sms (the SMS text file), log (the exchange log saved
// from the window's log), csv and xlsx (the journal export), window (the
// main window's state in QSettings; PATH must end in Velmor/Tarvik1.conf,
// the folder above Velmor becomes the settings folder), settings (a
// configuration saved to a settings file).
#include "test_windows.h"

#include "history/HistoryExport.h"
#include "history/HistoryUnit.h"
#include "mainwindow/LogUtils.h"
#include "pages/SMSTextFile.h"
#include "pages/SettingsFile.h"
#include "prefs/SaveLoadSettings.h"
#include "record_lines.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QSettings>

#include <array>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

// Writes content A (false) or B (true); false when the write failed.
using TWriteFn = std::function<bool(bool)>;

void Report(const char* text) {
    // Unbuffered: whatever was reported before the kill is in the pipe.
    [[maybe_unused]] ssize_t n = ::write(STDOUT_FILENO, text, std::strlen(text));
}

QStringList SmsTexts(bool b) {
    QStringList texts;
    for (int i = 0; i < 6; ++i)
        texts << (b ? QStringLiteral("Тревога в зоне %1, объект 0050").arg(i + 1)
                    : QStringLiteral("Alarm %1").arg(i + 1));
    return texts;
}

// A long session log: a few thousand stamped lines, so that a save takes a
// while.
QString LogText(bool b) {
    QStringList lines;
    const int count = b ? 3000 : 2000;
    for (int i = 0; i < count; ++i) {
        const QString stamp = QStringLiteral("2026.12.10 16:%1:%2.%3")
                                  .arg(i / 600 % 60, 2, 10, QLatin1Char('0'))
                                  .arg(i / 10 % 60, 2, 10, QLatin1Char('0'))
                                  .arg(i % 1000, 3, 10, QLatin1Char('0'));
        lines << stamp + (i % 2 ? QStringLiteral(">> 0050")
                                : (b ? QStringLiteral("<< +o") : QStringLiteral("<< +в")));
    }
    return lines.join(QLatin1Char('\n'));
}

struct TExportWriter {
    THistory history;
    std::vector<int> rowsA, rowsB;

    TExportWriter() {
        for (int i = 0; i < 600; ++i) {
            TestRecord r;
            r.index = i;
            r.global = uint32_t(i + 1);
            r.zone = QStringLiteral("%1").arg(i % 1000, 3, 10, QLatin1Char('0'));
            r.code = i % 3 ? QStringLiteral("130") : QStringLiteral("401");
            history.Add(RecordLine(r));
        }
        rowsA = ExportRowList(history, -1, -1);
        for (int row = int(rowsA.size()) - 1; row >= 0; row -= 2)
            rowsB.push_back(row);
    }
    bool write(const QString& path, bool b) const {
        return ExportHistory(history, b ? rowsB : rowsA, path, QLocale(QLocale::Russian)).Ok;
    }
};

// A whole configuration's lines: the keys of every page, a few hundred
// lines, the two versions differing in values and in length.
QStringList SettingsLines(bool b) {
    QStringList lines;
    const int count = b ? 400 : 300;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("Ключ%1=%2")
                     .arg(i)
                     .arg(b ? QStringLiteral("значение %1").arg(i * 7) : QString::number(i));
    return lines;
}

TWriteFn MakeWriter(const QString& writer, const QString& path) {
    if (writer == QLatin1String("settings"))
        return [path](bool b) { return TSettingsFile(SettingsLines(b)).Write(path).Ok; };
    if (writer == QLatin1String("sms"))
        return [path](bool b) { return WriteSMSFile(path, SmsTexts(b)); };
    if (writer == QLatin1String("log")) {
        // Two filled logs, so that a round is the save alone.
        auto memos = std::make_shared<std::array<QPlainTextEdit, 2>>();
        auto logs = std::make_shared<std::array<TLog, 2>>();
        for (int i = 0; i < 2; ++i) {
            (*memos)[size_t(i)].setPlainText(LogText(i == 1));
            (*logs)[size_t(i)].SetLogObject(&(*memos)[size_t(i)]);
        }
        return [memos, logs, path](bool b) { return (*logs)[b ? 1 : 0].SaveLogTo(path); };
    }
    if (writer == QLatin1String("csv") || writer == QLatin1String("xlsx")) {
        auto exporter = std::make_shared<TExportWriter>();
        return [exporter, path](bool b) { return exporter->write(path, b); };
    }
    if (writer == QLatin1String("window")) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QFileInfo(path).absoluteDir().absolutePath() + QStringLiteral("/.."));
        auto window = std::make_shared<TTestMainForm>();
        return [window](bool b) {
            window->resize(b ? QSize(900, 700) : QSize(640, 480));
            window->AutoscrollCheckBox->setChecked(b);
            SaveForm(window.get()); // QSettings cannot tell a failed write
            return true;
        };
    }
    return {};
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc != 4) {
        std::fprintf(stderr, "usage: crash_writer sms|settings|log|csv|xlsx|window PATH a|b|loop\n");
        return 2;
    }
    // Widgets only where the writer takes them from a window: a quicker start.
    const bool widgets = std::strcmp(argv[1], "log") == 0 || std::strcmp(argv[1], "window") == 0;
    std::unique_ptr<QCoreApplication> app =
        widgets ? std::make_unique<QApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    const QString mode = QString::fromLocal8Bit(argv[3]);
    const TWriteFn write = MakeWriter(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    if (!write) {
        std::fprintf(stderr, "crash_writer: no writer %s\n", argv[1]);
        return 2;
    }
    if (mode != QLatin1String("loop"))
        return write(mode == QLatin1String("b")) ? 0 : 1;
    Report("ready\n");
    for (bool b = true;; b = !b) {
        if (!write(b))
            return 1;
        Report(".");
    }
}
