// The event log: stamped lines, the two scroll behaviours, saving in
// Windows-1251 with CR LF, and a file that cannot be written.
#include "mainwindow/LogUtils.h"
#include "mainwindow/MessageBoxes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        memo.resize(300, 120);
        memo.show();
        log.SetLogObject(&memo);
        SetMessagePresenter([this](QWidget*, const TMessage& m) {
            boxes.push_back({m.Kind, m.Text});
            return true;
        });
    }
    void TearDown() override { SetMessagePresenter({}); }

    QStringList lines() const { return memo.toPlainText().split('\n'); }

    QPlainTextEdit memo;
    TLog log;
    std::vector<std::pair<TBoxKind, QString>> boxes;
};

TEST_F(LogTest, LinesCarryTheStampDirectlyBeforeTheText) {
    log.Append("<< +o\r\n");
    log.Append(">> 0050");
    const QStringList l = lines();
    ASSERT_EQ(l.size(), 3) << "a text ending in CR LF adds an empty line";
    const QRegularExpression stamp("^\\d{4}\\.\\d{2}\\.\\d{2} \\d{2}:\\d{2}:\\d{2}\\.\\d{3}");
    EXPECT_TRUE(stamp.match(l[0]).hasMatch()) << l[0].toStdString();
    EXPECT_TRUE(l[0].endsWith("<< +o"));
    EXPECT_EQ(l[0].size(), 23 + 5);
    EXPECT_EQ(l[1], "");
    EXPECT_TRUE(l[2].endsWith(">> 0050"));

    log.SetShowTime(false);
    log.Append("plain");
    EXPECT_EQ(lines().last(), "plain");
}

TEST_F(LogTest, ScrollFollowsOnlyWithAutoScroll) {
    for (int i = 0; i < 200; ++i)
        log.Append(QString("line %1").arg(i));
    QScrollBar* bar = memo.verticalScrollBar();
    bar->setValue(10); // the user scrolled up
    log.Append("new");
    EXPECT_EQ(bar->value(), 10) << "the view stays where the user left it";

    log.SetAutoScroll(true);
    log.Append("newer");
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(LogTest, PaneKeepsTheNewestLinesOnly) {
    EXPECT_EQ(memo.maximumBlockCount(), TLog::kMaxLines) << "the pane gets the limit when bound";
    log.SetShowTime(false);
    log.SetMaxLines(50);
    for (int i = 0; i < 120; ++i)
        log.Append(QString("line %1").arg(i));
    QStringList l = lines();
    ASSERT_EQ(l.size(), 50);
    EXPECT_EQ(l.first(), "line 70");
    EXPECT_EQ(l.last(), "line 119");
    log.Append("<< +o\r\n");
    l = lines();
    EXPECT_EQ(l.size(), 50) << "a text of two lines counts as two";
    EXPECT_EQ(l.first(), "line 72");

    // Saving writes what the pane holds.
    QTemporaryDir dir;
    const QString path = dir.filePath("session.log");
    ASSERT_TRUE(log.SaveLogTo(path));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray saved = f.readAll();
    EXPECT_TRUE(saved.startsWith("line 72\r\nline 73\r\n"));
    EXPECT_EQ(saved.count("\r\n"), 50);
}

TEST_F(LogTest, SaveWritesWindows1251WithCrLf) {
    QTemporaryDir dir;
    log.SetShowTime(false);
    log.Append(QString::fromUtf8("<< +smstext0Тревога\r\n"));
    log.Append(">> OK");
    const QString path = dir.filePath("session.log");
    ASSERT_TRUE(log.SaveLogTo(path));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("<< +smstext0\xD2\xF0\xE5\xE2\xEE\xE3\xE0\r\n\r\n>> OK\r\n"));

    log.Clear();
    ASSERT_TRUE(log.SaveLogTo(path));
    EXPECT_EQ(QFile(path).size(), 0) << "a cleared log saves an empty file";
}

TEST_F(LogTest, UnwritableFileLeavesOldFileAndLogAlone) {
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.log");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old contents");
    }
    log.Append("something");
    QString error;
    EXPECT_FALSE(log.SaveLogTo(dir.filePath("no-such-folder/x.log"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(lines().size(), 1);
    // A folder in the way of the file: nothing written, nothing lost.
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.log"));
    EXPECT_FALSE(log.SaveLogTo(dir.filePath("taken.log")));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old contents"));
}

TEST_F(LogTest, SaveThroughTheDialogNamesTheFileThatFailed) {
    // The name the user picks is a link into a folder that is gone: the
    // dialog takes it, the write cannot happen.
    QTemporaryDir dir;
    const QString target = dir.filePath("session.log");
    ASSERT_TRUE(QFile::link(dir.filePath("gone/session.log"), target));
    log.Append("line");
    bool sawDialog = false;
    QTimer::singleShot(100, [&] {
        QFileDialog* dialog = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible())
                dialog = d;
        if (!dialog) {
            ADD_FAILURE() << "no file dialog";
            return;
        }
        sawDialog = true;
        EXPECT_EQ(dialog->defaultSuffix(), "log");
        EXPECT_EQ(dialog->nameFilters(), QStringList{"Log files (*.log)"});
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->setText(target); // as if typed
        static_cast<QDialog*>(dialog)->accept();
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the dialog did not take the name";
            static_cast<QDialog*>(dialog)->reject();
        }
    });
    log.SaveLog(&memo);
    EXPECT_TRUE(sawDialog);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].first, TBoxKind::Error);
    EXPECT_TRUE(boxes[0].second.contains(target)) << boxes[0].second.toStdString();
    EXPECT_EQ(lines(), QStringList{lines().first()}) << "the log is unchanged";
}

} // namespace
