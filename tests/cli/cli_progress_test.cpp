// The command line's progress on standard error: a line per tenth off a
// terminal, one status line rewritten in place on a terminal with every
// other text on a line of its own, nothing but errors when quiet; and how
// the stream's file decides between them.
#include "cli/CliProgress.h"
#include "cli/StatusLineDevice.h"
#include "pty_pair.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Reports `percents` in order, each as "p %", through a progress of `style`
// on a string; returns what was written.
QString Reported(TProgressStyle style, const std::vector<int>& percents) {
    QString text;
    QTextStream err(&text);
    {
        TCliProgress progress(err, style);
        for (int p : percents)
            progress.Progress(QStringLiteral("%1 %").arg(p), p);
    }
    err.flush();
    return text;
}

TEST(CliProgress, OffATerminalALineEachTimeANewTenthBegins) {
    const struct {
        const char* what;
        std::vector<int> percents;
        QString lines;
    } cases[] = {
        {"every block of an upload", {3, 6, 9, 12, 15, 50, 51, 99, 100}, "3 %\n12 %\n50 %\n99 %\n100 %\n"},
        {"a start at nought", {0, 0, 1, 10}, "0 %\n10 %\n"},
        {"a tenth skipped over", {5, 45, 95}, "5 %\n45 %\n95 %\n"},
        {"one report", {100}, "100 %\n"},
        {"out of range", {-5, 250}, "-5 %\n250 %\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Reported(TProgressStyle::Lines, c.percents), c.lines) << c.what;
}

TEST(CliProgress, OnATerminalOneLineIsRewrittenAndOtherTextGoesBelowIt) {
    QString text;
    QTextStream err(&text);
    {
        TCliProgress progress(err, TProgressStyle::Terminal);
        progress.Note("Переход в загрузчик");
        progress.Progress("Запись блока 9 из 10: 90 %", 90);
        progress.Progress("Запись блока 10 из 10: 100 %", 100);
        progress.Progress("Готово", 100); // shorter: the rest of the old text blanked
        // An error told while the line stands (the port gone) starts a line
        // of its own, even when it comes before the next report.
        progress.Err() << "Порт пропал\n";
        progress.Progress("Запись блока 1 из 10: 10 %", 10);
        progress.Note("Проверка");
        progress.End();
        progress.End(); // once only
        progress.Err() << "Прошивка не записана\n";
    }
    err.flush();
    const QString blank(QStringLiteral("Запись блока 10 из 10: 100 %").size() - 6, u' ');
    EXPECT_EQ(text, QStringLiteral("Переход в загрузчик\n"
                                   "\rЗапись блока 9 из 10: 90 %"
                                   "\rЗапись блока 10 из 10: 100 %"
                                   "\rГотово") +
                        blank +
                        QStringLiteral("\nПорт пропал\n"
                                       "\rЗапись блока 1 из 10: 10 %"
                                       "\nПроверка\n"
                                       "Прошивка не записана\n"));
}

TEST(CliProgress, QuietTellsErrorsAlone) {
    QString text;
    QTextStream err(&text);
    {
        TCliProgress progress(err, TProgressStyle::Quiet);
        progress.Note("Проверка");
        progress.Progress("50 %", 50);
        progress.Err() << "Ошибка: Записи истории\n";
    }
    err.flush();
    EXPECT_EQ(text, "Ошибка: Записи истории\n");
}

// The device hands on whole characters when a write ends inside one.
TEST(CliProgress, ACharacterSplitBetweenWritesComesWhole) {
    QString text;
    QTextStream target(&text);
    TStatusLineDevice device(target);
    const QByteArray word = QStringLiteral("Ошибка\n").toUtf8();
    for (qsizetype i = 0; i < word.size(); ++i)
        ASSERT_EQ(device.write(word.mid(i, 1)), 1);
    target.flush();
    EXPECT_EQ(text, "Ошибка\n");
}

TEST(CliProgress, TheStreamsFileDecidesTheStyle) {
    PtyPair pty;
    QFile terminal;
    const int fd = ::open(pty.slavePath().toLocal8Bit().constData(), O_WRONLY | O_NOCTTY);
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(terminal.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
    QTemporaryDir dir;
    QFile plain(dir.filePath("err.txt"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    QString text;

    QTextStream onTerminal(&terminal), onFile(&plain), onString(&text);
    EXPECT_EQ(ProgressStyleOf(onTerminal, false), TProgressStyle::Terminal);
    EXPECT_EQ(ProgressStyleOf(onFile, false), TProgressStyle::Lines);
    EXPECT_EQ(ProgressStyleOf(onString, false), TProgressStyle::Lines);
    for (QTextStream* s : {&onTerminal, &onFile, &onString})
        EXPECT_EQ(ProgressStyleOf(*s, true), TProgressStyle::Quiet);
}

} // namespace
