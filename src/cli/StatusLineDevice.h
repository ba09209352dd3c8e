#pragma once

#include <QIODevice>
#include <QStringDecoder>

class QTextStream;

// Standard error on a terminal, with a status line that is rewritten in
// place: Status() goes back to the start of the line (a carriage return),
// writes the new text and blanks what is left of a longer old one. Anything
// written through the device itself (an error, a step) starts on a line of
// its own below the status line, which stays on the screen as it last read.
// The text goes on to `target`, whose encoding it keeps.
class TStatusLineDevice : public QIODevice {
public:
    explicit TStatusLineDevice(QTextStream& target);

    // Shows `text` as the status line.
    void Status(const QString& text);
    // Ends an open status line with a line end.
    void EndStatus();

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    QTextStream& fTarget;
    QStringDecoder fDecoder{QStringDecoder::Utf8};
    qsizetype fShown = -1; // the characters of the open status line; -1: none is open
};
