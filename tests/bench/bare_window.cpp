// bare_window: the yardstick of start_bench. A Qt Widgets window holding a
// list of eight items and nothing else, shown and, once painted the first
// time, quitting with "shown" on standard output, as the tool does with
// TARVIK1_QUIT_WHEN_SHOWN (the same probe).
#include "app/ShownProbe.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    auto* list = new QListWidget(&window);
    for (int i = 1; i <= 8; ++i)
        list->addItem(QStringLiteral("Страница %1").arg(i));
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(list);
    layout->addStretch(1);
    TShownProbe probe;
    window.installEventFilter(&probe);
    window.show();
    return app.exec();
}
