// Takes the user's guide's pictures from the real window, connected to the
// panel emulator over a pty: the connection dialog, the window, every page
// after "Прочитать все", the History page with a page of the journal.
//
//   guide_screenshots OUTPUT_FOLDER
//
// scripts/guide-screenshots.sh builds and runs it into docs/images.
#include "emulated_panel_fixture.h"
#include "mainwindow/ConnectFormUnit.h"
#include "mainwindow/Main.h"
#include "mainwindow/MessageBoxes.h"
#include "pages/PageFrame.h"
#include "short_link_timings.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLibraryInfo>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <map>

namespace {

// The pictures' file names, by page.
const std::map<QString, QString> kPagePictures = {
    {"CommonFrame", "common"},         {"SystemEventsFrame", "system-events"},
    {"GPRSFrame", "gprs"},             {"ChannelsFrame", "channels"},
    {"AlarmButtonsFrame", "alarm-buttons"}, {"EngeneerNumberFrame", "engineer-numbers"},
    {"SMSFrame", "sms"},               {"HistoryFrame", "history"},
};

void Settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

bool Save(QWidget* widget, const QDir& out, const QString& name) {
    Settle();
    const QString path = out.filePath(name + QStringLiteral(".png"));
    if (!widget->grab().save(path)) {
        std::fprintf(stderr, "Не удалось записать %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Использование: guide_screenshots ПАПКА\n");
        return 2;
    }
    QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "Не удалось создать папку %s\n", argv[1]);
        return 1;
    }
    QApplication::setApplicationName(QStringLiteral("Tarvik1"));
    QApplication::setOrganizationName(QStringLiteral("Velmor"));
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);
    // A fresh window state, not the developer's.
    QTemporaryDir state;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, state.path());
    // Questions answered yes; nothing else is expected to ask.
    SetMessagePresenter([](QWidget*, const TMessage& m) -> TBoxAnswer {
        std::fprintf(stderr, "Сообщение: %s\n", qPrintable(m.Text));
        return TBoxAnswer{TAnswer::Yes};
    });

    emu::PanelSettings settings = QuickPanelSettings();
    auto panel = std::make_unique<emu::EmulatedPanel>(settings);
    QString error;
    if (!panel->start(&error)) {
        std::fprintf(stderr, "Эмулятор панели не запустился: %s\n", qPrintable(error));
        return 1;
    }
    panel->regenerateJournal(120);

    TMainForm window;
    window.SetLinkTimings(ShortLinkTimings());
    window.resize(1040, 700);
    window.show();
    Settle();

    bool ok = true;
    // The connection dialog as the installer sees it, then Connect.
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TConnectForm*>(QApplication::activeModalWidget());
        if (!dialog) {
            ok = false;
            return;
        }
        dialog->findChild<QComboBox*>(QStringLiteral("PortCombo"))->setCurrentText(panel->slavePath());
        ok = Save(dialog, out, QStringLiteral("connect")) && ok;
        dialog->findChild<QPushButton*>(QStringLiteral("ConnectButton"))->click();
    });
    window.ConnectActionExecute();
    if (!window.Connected()) {
        std::fprintf(stderr, "Окно не подключилось к эмулятору\n");
        return 1;
    }
    window.ReadAllActionExecute();
    ok = Save(&window, out, QStringLiteral("main")) && ok;

    auto* list = window.findChild<QListWidget*>(QStringLiteral("PageList"));
    const auto& frames = window.Frames();
    for (size_t i = 0; i < frames.size(); ++i) {
        list->setCurrentRow(int(i));
        const auto picture = kPagePictures.find(frames[i]->objectName());
        if (picture == kPagePictures.end())
            continue;
        if (picture->first == QLatin1String("HistoryFrame"))
            window.ReadActionExecute(); // a page of the journal
        ok = Save(&window, out, picture->second) && ok;
    }
    return ok ? 0 : 1;
}
