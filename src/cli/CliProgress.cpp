#include "CliProgress.h"

#include "StatusLineDevice.h"

#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <unistd.h>

TProgressStyle ProgressStyleOf(const QTextStream& err, bool quiet) {
    if (quiet)
        return TProgressStyle::Quiet;
    // QTextStream(stderr) writes through a QFile on the standard error's descriptor.
    const auto* file = qobject_cast<const QFile*>(err.device());
    const int fd = file ? file->handle() : -1;
    return fd >= 0 && ::isatty(fd) ? TProgressStyle::Terminal : TProgressStyle::Lines;
}

TCliProgress::TCliProgress(QTextStream& err, TProgressStyle style) : fErr(err), fStyle(style) {
    if (fStyle == TProgressStyle::Terminal) {
        fDevice = std::make_unique<TStatusLineDevice>(fErr);
        fStream = std::make_unique<QTextStream>(fDevice.get());
    }
}

TCliProgress::~TCliProgress() {
    End();
}

QTextStream& TCliProgress::Err() {
    return fStream ? *fStream : fErr;
}

void TCliProgress::Note(const QString& line) {
    if (Quiet())
        return;
    Err() << line << '\n';
    Err().flush();
}

void TCliProgress::Progress(const QString& text, int percent) {
    switch (fStyle) {
    case TProgressStyle::Quiet: return;
    case TProgressStyle::Terminal:
        // What was told meanwhile goes out first, above the status line.
        fStream->flush();
        fDevice->Status(text);
        return;
    case TProgressStyle::Lines: {
        const int tenth = std::clamp(percent, 0, 100) / 10;
        if (tenth <= fTenth)
            return;
        fTenth = tenth;
        fErr << text << '\n';
        fErr.flush();
        return;
    }
    }
}

void TCliProgress::End() {
    if (!fStream)
        return;
    fStream->flush();
    fDevice->EndStatus();
}
