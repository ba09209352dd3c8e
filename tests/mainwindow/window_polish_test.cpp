// What a new user sees of the window: the status bar's port panel, the
// connection dialog's port field and names for assistive technology, the
// page marked at start, the reason a port did not open.
#include "../pages/widget_probes.h"
#include "main_window_fixture.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QStatusBar>
#include <QToolButton>

#include <cerrno>

namespace {

using WindowPolish = MainWindow;

TEST_F(WindowPolish, LongPortPathIsCutInTheMiddleWithTheWholePathAsTip) {
    // A port path as long as an emulator's under the runtime folder.
    QTemporaryDir dir;
    const QString folder = dir.filePath("run/user/1000/tarvik1/ports");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString port = folder + "/panel-1";
    ASSERT_TRUE(QFile::link(panel->slavePath(), port));

    auto w = makeWindow();
    connectWindow(*w, [&](TConnectForm& d) { pressConnect(d, port); });
    ASSERT_TRUE(w->Connected());
    auto* label = child<QLabel>(w.get(), "InfoBarPanel0");
    const QString shown = label->text();
    EXPECT_NE(shown, port);
    EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("panel-1")) << "the name's end stays";
    EXPECT_TRUE(shown.startsWith(port.left(4))) << "and so does the folder's start";
    EXPECT_LE(label->fontMetrics().horizontalAdvance(shown), label->width());
    EXPECT_EQ(label->toolTip(), port);

    disconnectWindow(*w);
    EXPECT_EQ(label->text(), "");
    EXPECT_EQ(label->toolTip(), "");
}

TEST_F(WindowPolish, ConnectionDialogShowsAWholePathAndNamesItsFields) {
    auto w = makeWindow();
    bool seen = false;
    connectWindow(*w, [&](TConnectForm& d) {
        seen = true;
        auto* port = child<QComboBox>(&d, "PortCombo");
        const QString path = "/run/user/1000/tarvik1/ports/panel-1";
        EXPECT_GE(port->lineEdit()->width(), port->fontMetrics().horizontalAdvance(path));

        // Fields are read with their own labels, not the group's title.
        EXPECT_EQ(labelledBy(port), "Порт:");
        EXPECT_EQ(labelledBy(child<QComboBox>(&d, "PhoneCombo")), "Номер телефона:");
        EXPECT_EQ(accessibleName(child<QGroupBox>(&d, "ParamGroup")), "Тип и параметры подключения");
        EXPECT_EQ(accessibleName(child<QToolButton>(&d, "RefreshPortsButton")), "Обновить список портов");
        d.reject();
    });
    EXPECT_TRUE(seen);
}

TEST_F(WindowPolish, TheShownPageIsMarkedInThePageList) {
    auto w = makeWindow();
    auto* list = child<QListWidget>(w.get(), "PageList");
    EXPECT_EQ(list->currentRow(), 0);
    ASSERT_NE(list->item(0), nullptr);
    EXPECT_TRUE(list->item(0)->isSelected());
    EXPECT_EQ(w->CurrentFrame(), w->Frames().front());
}

TEST_F(WindowPolish, ErrorOpenPortTellsTheSystemsReason) {
    auto w = makeWindow();
    const QString missing = "/dev/tarvik-no-such-port";
    connectWindow(*w, [&](TConnectForm& d) {
        pressConnect(d, missing);
        d.reject();
    });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], std::make_pair(TBoxKind::Error, "Не удалось открыть порт " + missing));
    EXPECT_TRUE(details.value(0).startsWith("Такого порта нет")) << details.value(0).toStdString();

    // A port that exists but is not a terminal: the system says so.
    QTemporaryDir dir;
    const QString plain = dir.filePath("not-a-port");
    QFile f(plain);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    connectWindow(*w, [&](TConnectForm& d) {
        pressConnect(d, plain);
        d.reject();
    });
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].second, "Не удалось открыть порт " + plain);
    EXPECT_EQ(details.value(1), "Это не последовательный порт");
    EXPECT_EQ(w->State(), TOperationState::Disconnected);
}

} // namespace
