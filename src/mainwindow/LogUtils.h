#pragma once

#include <QString>

class QPlainTextEdit;
class QWidget;

// The running transcript at the bottom of the main window: every command
// written, every answer line received and the modem's line-control steps,
// each stamped with the time.
class TLog {
public:
    TLog() = default;

    void SetLogObject(QPlainTextEdit* memo) { FLogObject = memo; }
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
    bool FAutoScroll = false;
    bool FShowTime = true;
};
