#pragma once

#include <QString>

#include <memory>

class QTextStream;
class TStatusLineDevice;

// How the progress of a long command (a firmware upload, a journal read)
// goes to standard error.
enum class TProgressStyle {
    Lines,    // not a terminal (a file, a pipe, a script's log): a line at each new tenth
    Terminal, // one status line rewritten in place
    Quiet,    // --quiet: no progress and no notes, errors only
};

// The style for `err`: Quiet when asked, Terminal when the stream's file is
// a terminal, Lines otherwise.
TProgressStyle ProgressStyleOf(const QTextStream& err, bool quiet);

// Standard error of one command: its errors, its notes (the steps) and its
// progress, each as the style wants it. On a terminal every other text goes
// through Err(), which first ends the status line, so that an error told
// while the progress runs (the port gone) stands on a line of its own.
class TCliProgress {
public:
    TCliProgress(QTextStream& err, TProgressStyle style);
    ~TCliProgress(); // ends the status line
    TCliProgress(const TCliProgress&) = delete;
    TCliProgress& operator=(const TCliProgress&) = delete;

    TProgressStyle Style() const { return fStyle; }
    bool Quiet() const { return fStyle == TProgressStyle::Quiet; }

    // The stream for errors and questions (always shown).
    QTextStream& Err();
    // A note, one line (a step begun, what was done); nothing when quiet.
    void Note(const QString& line);
    // The progress now: `text` says it, `percent` (0..100) how far it is.
    // Lines: the text as a line when the percent enters a new tenth (the
    // first report always); Terminal: the status line; Quiet: nothing.
    void Progress(const QString& text, int percent);
    // Ends the status line; what follows starts on a line of its own.
    void End();

private:
    QTextStream& fErr;
    TProgressStyle fStyle;
    std::unique_ptr<TStatusLineDevice> fDevice; // Terminal only
    std::unique_ptr<QTextStream> fStream;       // over fDevice
    int fTenth = -1;                            // the last tenth told as a line
};
