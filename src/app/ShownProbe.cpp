#include "ShownProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <cstdio>

#include <sys/resource.h>

bool TShownProbe::eventFilter(QObject* watched, QEvent* event) {
    if (!fShown && event->type() == QEvent::Paint) {
        fShown = true;
        // After this paint has finished.
        QTimer::singleShot(0, qApp, [] {
            // The processor time spent so far (every thread, user and
            // system), before the quit's own work.
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            const double ms = (double(usage.ru_utime.tv_sec) + double(usage.ru_stime.tv_sec)) * 1e3 +
                              (double(usage.ru_utime.tv_usec) + double(usage.ru_stime.tv_usec)) / 1e3;
            std::printf("cpu-ms %.1f\n", ms);
            std::fputs("shown\n", stdout);
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    }
    return QObject::eventFilter(watched, event);
}
