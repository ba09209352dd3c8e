// tarvik1: the configuration tool's window.
#include "mainwindow/Main.h"
#include "mainwindow/ToolIcon.h"
#include "mainwindow/WindowStyle.h"
#include "PredrawnIcons.h"
#include "ShownProbe.h"
#include "pages/DrawnIcon.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvik1"));
    QApplication::setOrganizationName(QStringLiteral("Velmor"));
    // The pictures drawn when the program was built are not drawn again.
    UsePredrawnIcons(&PredrawnIcon);
    // The desktop's style, with the tool's own pictures where it would read
    // image files.
    QApplication::setStyle(new TWindowStyle);
    // The desktop entry's name and its icon, drawn (the picture the package
    // installs; looking it up in the icon theme would read the theme's whole
    // index at every start).
    QApplication::setDesktopFileName(QStringLiteral("tarvik1"));
    QApplication::setWindowIcon(ToolIcon());

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
