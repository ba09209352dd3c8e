#pragma once

#include <QByteArray>
#include <QString>

namespace emu {

// How the workstation reaches the emulated panel.
enum class LinkMode {
    Cable, // programming cable: the panel itself is on the line
    Modem  // the workstation's GSM modem is on the line; the panel answers after a data call
};

// What a dial ("ATD...") ends in.
enum class DialOutcome { Connect, NoCarrier, Busy, NoAnswer };

// Times the panel and the modem take. The defaults are those of a real panel;
// tests take quick() so that they do not wait for seconds.
struct Delays {
    int answerMs = 10;         // before the first byte of every answer
    int measurementMs = 1500;  // "+U": between the first "OK" and the value
    int journalEraseMs = 3000; // "+erase"
    int dialMs = 6000;         // "ATD...": until "CONNECT 9600" or the failure
    int flashEraseMs = 2000;   // "+BE" in the boot loader
    int blockWriteMs = 20;     // each "+W..." in the boot loader
    int finalCheckMs = 200;    // "+EE..." in the boot loader
    int splitGapMs = 2;        // between bytes when answers are split into single bytes

    // Short delays for tests (a few milliseconds each).
    static Delays quick();
};

// Fault switches. Each one is off by default.
struct Faults {
    int dropEvery = 0;          // the Nth, 2Nth, ... command is lost: no answer (0: off)
    bool answerOnRetry = false; // a command is ignored the first time and answered when sent again
    int extraDelayMs = 0;       // added before every answer
    bool splitBytes = false;    // answers go out one byte per write, Delays::splitGapMs apart
    bool sprinkle = false;      // LF and '>' characters are put into answers
    bool missingOk = false;     // an answer with a value line loses its final "OK"
    bool garbage = false;       // garbageBytes go out before every answer
    QByteArray garbageBytes = QByteArray("\xFE\x13#~", 4) + '\r';
    int hangupAt = 0; // the answer to the Nth command stops half way: the line hangs up (0: off)
    int baud = 0;     // line rate in both directions, 10 bits a byte (0: as fast as the pty)
    int refuseBlock =
        0; // the boot loader answers "ERROR" to its Nth block, counted from 1, every time (0: off)
    bool refuseErase = false; // the boot loader answers "ERROR" to "+BE"
    // "+read" answers leave out the record with this index (-1: off): only
    // the first answer that would carry it, or every one with skipRecordAlways.
    int skipRecord = -1;
    bool skipRecordAlways = false;
    QByteArray lineBefore;    // a line sent before every answer, as a modem's "+CREG: 0,1" (empty: off)
    bool answerTwice = false; // every answer goes out twice, the copy answerTwiceGapMs after it
    int answerTwiceGapMs = 50;
    // Unsolicited lines: chatterLine every chatterMs whatever the panel does,
    // as a modem's "RING" or a panel's debug output (0: off). Not limited by
    // onlyCommand.
    int chatterMs = 0;
    QByteArray chatterLine = QByteArrayLiteral("RING");
    QString onlyCommand; // when set, the faults hit only commands whose name starts with it

    // A line sent again and again unasked, between answers and while the
    // tool has the port open (empty: off); CR is added.
    QByteArray floodLine;
    int floodAfter = 0; // ... once the panel has taken this many commands (since the faults were set)
    int floodLines = 0; // ... this many times (0: without end)
    int floodGapMs = 0; // ... this far apart (0: as fast as the line takes them)
};

// Everything that sets up an emulated panel.
struct PanelSettings {
    LinkMode mode = LinkMode::Cable;
    QString versionLine = QStringLiteral("REV 07.700.125");
    QString memoryType = QStringLiteral("07"); // "+typepan": hexadecimal, low three bits set = M45PE16
    QString bootVersionLine = QStringLiteral("BL REV 01.002.004");
    int signalLevel = 17; // "+U": 0..31, 99 = not known
    int errorLevel = 0;   // "+U": 0..7, 99 = not known

    int journalRecords = 100;    // records generated at start
    int badRecords = 0;          // how many of them carry a wrong check sum
    quint32 seed = 1;            // of the journal generator
    bool cidTenAsA = false;      // CID check value 10 sent as 'A' instead of '0'
    bool readIncludesEnd = true; // "+read" answers the record at its second index too
    // "+alphon" entries also take the channel codes 7, 8 and 9, which a
    // firmware with more channel types than the configuration tool lists
    // holds and expects back as they are.
    bool channelCodesToNine = false;
    // "+pwlog" also takes an automatic test period beyond 23 hours or 59
    // minutes (each field up to FE), as a panel set up by other means holds.
    bool periodsToFE = false;
    // The panel also holds values the configuration tool lists no item for,
    // as a panel set up by other means (or another firmware) does: any nine
    // digits for an alarm button ("+n00", "+n02"), any two printable
    // characters for the hold time ("+presstime") and for the restart field
    // of "+pwlog", and two or three hexadecimal digits for "+disp".
    bool oddValues = false;

    bool crlfAnswers = false;                       // panel answer lines end with CR LF instead of CR
    bool modemEcho = false;                         // the modem echoes command lines (ATE1)
    int unregisteredAnswers = 0;                    // the first N "AT+CREG?" answer "+CREG: 0,2"
    DialOutcome dialFailure = DialOutcome::Connect; // how failing dials end
    int dialFailures = 0; // number of dials that fail with dialFailure (-1: every dial)

    QString transcriptPath; // every byte both ways with time stamps, when set

    Delays delays;
    Faults faults;
};

QString linkModeName(LinkMode mode);
QString dialOutcomeText(DialOutcome outcome); // the modem's result line

} // namespace emu
