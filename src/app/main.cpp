// tarvik1: the configuration tool's window.
#include "mainwindow/Main.h"
#include "ShownProbe.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvik1"));
    QApplication::setOrganizationName(QStringLiteral("Velmor"));
    // The desktop entry's name and icon (the theme's when installed, else the built-in one).
    QApplication::setDesktopFileName(QStringLiteral("tarvik1"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("tarvik1"), QIcon(QStringLiteral(":/icons/tarvik1-48.png"))));

    // The standard dialogs and message-box buttons speak Russian too.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    TMainForm window;
    TShownProbe probe;
    if (qEnvironmentVariableIsSet("TARVIK1_QUIT_WHEN_SHOWN"))
        window.installEventFilter(&probe);
    window.show();
    return app.exec();
}
