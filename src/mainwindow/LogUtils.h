#pragma once

#include <QString>

class QPlainTextEdit;
class QWidget;

// The running transcript at the bottom of the main window: every command
// written, every answer line received and the modem's line-control steps,
// each stamped with the time. The pane keeps the newest lines only (older
// ones leave from the top), so that a line that never stops talking cannot
// fill the memory; a whole session's transcript is what tarvik1-cli --log
// writes.
class TLog {
public:
    static constexpr int kMaxLines = 20000;

    TLog() = default;

    // Binds the pane and gives it the line limit.
    void SetLogObject(QPlainTextEdit* memo);
    void SetMaxLines(int lines);
    int MaxLines() const { return FMaxLines; }
    // With auto-scroll the newest line is always in view; without it the
    // view stays where the user left it.
    void SetAutoScroll(bool value) { FAutoScroll = value; }
    void SetShowTime(bool value) { FShowTime = value; }

    // Adds one line (a text ending in CR LF shows as its line and an empty one).
    void Append(const QString& Value);
    void Clear();
    // Asks for a file name and saves the lines there; a file that cannot be
    // written is reported in a message box naming it.
    void SaveLog(QWidget* parent);
    // Saves the lines to `path` (Windows-1251, CR LF, written atomically).
    bool SaveLogTo(const QString& path, QString* error = nullptr) const;

private:
    QPlainTextEdit* FLogObject = nullptr;
    int FMaxLines = kMaxLines;
    bool FAutoScroll = false;
    bool FShowTime = true;
};
