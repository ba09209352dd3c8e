#pragma once

#include <QByteArray>
#include <QList>

namespace emu {

// Cuts the bytes the tool sends into command lines. A command line ends with
// CR LF; empty lines (the tool sends a second CR LF after page commands) are
// dropped. A line ended by LF alone, a line with a CR inside it and an overlong
// line come out as bad lines, which the panel answers with "ERROR". In modem
// mode the escape "+++" (sent without a line end) is recognised as soon as it
// stands alone at the start of a line.
class LineFramer {
public:
    struct Event {
        enum Kind { Line, BadLine, Escape };
        Kind kind = Line;
        QByteArray text; // without the line end
    };

    static constexpr int kMaxLineLength = 4096;

    void setEscapeDetection(bool on) { fEscape = on; }
    QList<Event> feed(const QByteArray& bytes);
    // Forgets a half-received line (the tool closed the port).
    void reset();
    // Empty lines received so far.
    int blankLines() const { return fBlankLines; }

private:
    void take(char c, QList<Event>& out);

    QByteArray fBuffer;
    bool fEscape = false;
    bool fDiscarding = false;
    int fBlankLines = 0;
};

} // namespace emu
