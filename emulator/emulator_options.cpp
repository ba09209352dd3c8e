#include "emulator_options.h"

#include "cp1251.h"
#include "value_checks.h"

#include <QCommandLineParser>
#include <climits>
#include <optional>

namespace emu {

namespace {

bool toInt(const QCommandLineParser& p, const QString& name, int min, int max, int& out, QString& message) {
    if (!p.isSet(name))
        return true;
    bool ok = false;
    const int v = p.value(name).toInt(&ok);
    if (!ok || v < min || v > max) {
        message = QStringLiteral("--%1: expected a whole number from %2 to %3, got \"%4\"")
                      .arg(name)
                      .arg(min)
                      .arg(max)
                      .arg(p.value(name));
        return false;
    }
    out = v;
    return true;
}

std::optional<DialOutcome> dialOutcomeNamed(const QString& s) {
    if (s == "no-carrier")
        return DialOutcome::NoCarrier;
    if (s == "busy")
        return DialOutcome::Busy;
    if (s == "no-answer")
        return DialOutcome::NoAnswer;
    return std::nullopt;
}

} // namespace

EmulatorOptions::Result EmulatorOptions::parse(const QStringList& arguments, EmulatorOptions& options,
                                               QString& message) {
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Emulates a Tarvik-1 alarm panel (and, in modem mode, the workstation's GSM modem) on a\n"
        "pseudo-terminal. The pty is announced as a link in the ports folder the tool lists\n"
        "($XDG_RUNTIME_DIR/tarvik1/ports, else /tmp/tarvik1-<uid>/ports) named panel-1 (or the\n"
        "next free number), or at --link PATH. The link's path is printed on standard output;\n"
        "the emulator serves until it gets SIGINT or SIGTERM and then removes the link."));
    const QList<QCommandLineOption> all = {
        {{"h", "help"}, "Show this help and exit."},
        {"link", "Put the link at PATH instead of the ports folder.", "PATH"},
        {"mode", "cable (programming cable, default) or modem (GSM modem, then a data call).", "MODE"},
        {"records", "Journal records generated at start (default 100).", "N"},
        {"bad-records", "How many of them carry a wrong record check sum or CID check digit (default 0).",
         "N"},
        {"seed", "Seed of the journal generator (default 1).", "N"},
        {"cid-ten-as-a", "Send the CID check value 10 as 'A' instead of '0'."},
        {"read-excludes-end", "\"+read\" leaves out the record at its second index."},
        {"channel-codes-to-nine", "\"+alphon\" also takes the channel codes 7, 8 and 9."},
        {"periods-to-fe", "\"+pwlog\" also takes an automatic test period of up to FE hours and FE minutes."},
        {"odd-values",
         "Also take values the tool lists no item for: any nine digits for \"+n00\" and \"+n02\", two "
         "printable characters for \"+presstime\" and for the restart field of \"+pwlog\", two or three "
         "hexadecimal digits for \"+disp\"."},
        {"version-line", "The \"+v\" answer (default \"REV 07.700.125\").", "TEXT"},
        {"boot-version-line", "The boot loader's \"+v\" answer (default \"BL REV 01.002.004\").", "TEXT"},
        {"memory-type", "The \"+typepan\" value, hexadecimal (default 07: M45PE16).", "HEX"},
        {"signal", "GSM signal level for \"+U\", 0..31 or 99 (default 17).", "N"},
        {"signal-errors", "GSM error level for \"+U\", 0..7 or 99 (default 0).", "N"},
        {"crlf", "End the panel's answer lines with CR LF instead of CR."},
        {"modem-echo", "The modem echoes command lines (ATE1)."},
        {"unregistered", "The first N \"AT+CREG?\" answer \"+CREG: 0,2\" (not registered).", "N"},
        {"dial-fail", "Dials fail with no-carrier, busy or no-answer.", "RESULT"},
        {"dial-failures", "Only the first N dials fail (default: every dial, with --dial-fail).", "N"},
        {"answer-delay", "Milliseconds before every answer (default 10).", "MS"},
        {"measure-delay", "\"+U\" measurement between its two \"OK\" (default 1500).", "MS"},
        {"erase-delay", "\"+erase\" duration (default 3000; the tool waits up to 70000).", "MS"},
        {"dial-delay", "From \"ATD\" to CONNECT or the failure (default 6000).", "MS"},
        {"flash-erase-delay", "Boot loader \"+BE\" duration (default 2000).", "MS"},
        {"block-delay", "Boot loader \"+W\" duration per block (default 20).", "MS"},
        {"final-check-delay", "Boot loader \"+EE\" duration (default 200).", "MS"},
        {"split-gap", "Gap between single bytes with --split-bytes (default 2).", "MS"},
        {"quick", "Short delays everywhere (for tests; the delay options above still apply)."},
        {"drop-every", "Fault: every Nth command is lost (no answer).", "N"},
        {"answer-on-retry", "Fault: a command is answered only when it is sent again."},
        {"extra-delay", "Fault: extra milliseconds before every answer.", "MS"},
        {"split-bytes", "Fault: answers go out one byte at a time."},
        {"sprinkle", "Fault: LF and '>' characters put into answers."},
        {"missing-ok", "Fault: answers with a value lose their final \"OK\"."},
        {"garbage", "Fault: a line of noise before every answer."},
        {"line-before", "Fault: the line TEXT before every answer (a modem's \"+CREG: 0,1\").", "TEXT"},
        {"answer-twice", "Fault: every answer goes out twice, the copy 50 ms after it."},
        {"chatter", "Fault: an unsolicited line (--chatter-line, default RING) every MS milliseconds.", "MS"},
        {"chatter-line", "The unsolicited line of --chatter (default RING).", "TEXT"},
        {"hangup-at", "Fault: the answer to the Nth command stops half way (modem: the call drops).", "N"},
        {"baud", "Throttle the line to N baud both ways, 10 bits a byte (19200 is the panel's rate).", "N"},
        {"refuse-block", "Fault: the boot loader answers ERROR to its Nth block (from 1), every time.", "N"},
        {"refuse-erase", "Fault: the boot loader answers ERROR to \"+BE\"."},
        {"skip-record", "Fault: the first \"+read\" answer that would carry record N leaves it out.", "N"},
        {"skip-record-always", "Fault: every \"+read\" answer leaves out record N.", "N"},
        {"fault-command", "Faults hit only commands whose name starts with NAME (\"+o\", \"+alphon\").",
         "NAME"},
        {"flood-line",
         "Fault: send TEXT as a line again and again, unasked, while the tool has the port open.", "TEXT"},
        {"flood-after", "The flood starts once the panel has taken N commands (default 0).", "N"},
        {"flood-lines", "The flood ends after N lines (default: it does not end).", "N"},
        {"flood-gap", "Milliseconds between the flood's lines (default 0: as fast as the line takes them).",
         "MS"},
        {"transcript", "Write every byte both ways with time stamps to FILE.", "FILE"},
    };
    p.addOptions(all);
    if (!p.parse(arguments)) {
        message = p.errorText();
        return Result::Error;
    }
    if (p.isSet("help")) {
        message = p.helpText();
        return Result::Help;
    }
    if (!p.positionalArguments().isEmpty()) {
        message = QStringLiteral("unexpected argument: %1").arg(p.positionalArguments().first());
        return Result::Error;
    }

    PanelSettings& s = options.settings;
    if (p.isSet("quick"))
        s.delays = Delays::quick();
    if (p.isSet("mode")) {
        const QString m = p.value("mode");
        if (m == "cable")
            s.mode = LinkMode::Cable;
        else if (m == "modem")
            s.mode = LinkMode::Modem;
        else {
            message = QStringLiteral("--mode: expected cable or modem, got \"%1\"").arg(m);
            return Result::Error;
        }
    }
    options.linkPath = p.value("link");
    if (p.isSet("link") && options.linkPath.isEmpty()) {
        message = QStringLiteral("--link: the path is empty");
        return Result::Error;
    }

    int seed = int(s.seed);
    const bool numbersOk = toInt(p, "records", 0, 65535, s.journalRecords, message) &&
                           toInt(p, "bad-records", 0, 65535, s.badRecords, message) &&
                           toInt(p, "seed", 0, INT_MAX, seed, message) &&
                           toInt(p, "signal", 0, 99, s.signalLevel, message) &&
                           toInt(p, "signal-errors", 0, 99, s.errorLevel, message) &&
                           toInt(p, "unregistered", 0, INT_MAX, s.unregisteredAnswers, message) &&
                           toInt(p, "answer-delay", 0, 600000, s.delays.answerMs, message) &&
                           toInt(p, "measure-delay", 0, 600000, s.delays.measurementMs, message) &&
                           toInt(p, "erase-delay", 0, 600000, s.delays.journalEraseMs, message) &&
                           toInt(p, "dial-delay", 0, 600000, s.delays.dialMs, message) &&
                           toInt(p, "flash-erase-delay", 0, 600000, s.delays.flashEraseMs, message) &&
                           toInt(p, "block-delay", 0, 600000, s.delays.blockWriteMs, message) &&
                           toInt(p, "final-check-delay", 0, 600000, s.delays.finalCheckMs, message) &&
                           toInt(p, "split-gap", 0, 60000, s.delays.splitGapMs, message) &&
                           toInt(p, "drop-every", 1, INT_MAX, s.faults.dropEvery, message) &&
                           toInt(p, "extra-delay", 0, 600000, s.faults.extraDelayMs, message) &&
                           toInt(p, "hangup-at", 1, INT_MAX, s.faults.hangupAt, message) &&
                           toInt(p, "baud", 50, 4000000, s.faults.baud, message) &&
                           toInt(p, "refuse-block", 1, INT_MAX, s.faults.refuseBlock, message) &&
                           toInt(p, "skip-record", 0, 65535, s.faults.skipRecord, message) &&
                           toInt(p, "skip-record-always", 0, 65535, s.faults.skipRecord, message) &&
                           toInt(p, "chatter", 1, 600000, s.faults.chatterMs, message) &&
                           toInt(p, "flood-after", 0, INT_MAX, s.faults.floodAfter, message) &&
                           toInt(p, "flood-lines", 1, INT_MAX, s.faults.floodLines, message) &&
                           toInt(p, "flood-gap", 0, 600000, s.faults.floodGapMs, message);
    if (!numbersOk)
        return Result::Error;
    s.seed = quint32(seed);
    if (p.isSet("skip-record") && p.isSet("skip-record-always")) {
        message = QStringLiteral("--skip-record and --skip-record-always: give one of them");
        return Result::Error;
    }
    s.faults.skipRecordAlways = p.isSet("skip-record-always");
    if (s.badRecords > s.journalRecords) {
        message = QStringLiteral("--bad-records: more than the %1 records").arg(s.journalRecords);
        return Result::Error;
    }

    if (p.isSet("version-line"))
        s.versionLine = p.value("version-line");
    if (p.isSet("boot-version-line"))
        s.bootVersionLine = p.value("boot-version-line");
    if (p.isSet("memory-type")) {
        s.memoryType = p.value("memory-type").toUpper();
        if (!checks::memoryType(s.memoryType.toLatin1())) {
            message = QStringLiteral("--memory-type: expected 1 to 8 hexadecimal digits, got \"%1\"")
                          .arg(p.value("memory-type"));
            return Result::Error;
        }
    }
    for (const QString& line : {s.versionLine, s.bootVersionLine}) {
        if (line.isEmpty() || line.contains('\r') || line.contains('\n')) {
            message = QStringLiteral("a version line must be one non-empty line");
            return Result::Error;
        }
    }

    if (p.isSet("flood-line")) {
        const QString line = p.value("flood-line");
        if (line.isEmpty() || line.contains('\r') || line.contains('\n')) {
            message = QStringLiteral("--flood-line: expected one non-empty line");
            return Result::Error;
        }
        s.faults.floodLine = cp1251::encode(line);
    } else if (p.isSet("flood-after") || p.isSet("flood-lines") || p.isSet("flood-gap")) {
        message = QStringLiteral("--flood-after, --flood-lines and --flood-gap need --flood-line");
        return Result::Error;
    }

    if (p.isSet("dial-fail")) {
        const auto outcome = dialOutcomeNamed(p.value("dial-fail"));
        if (!outcome) {
            message = QStringLiteral("--dial-fail: expected no-carrier, busy or no-answer, got \"%1\"")
                          .arg(p.value("dial-fail"));
            return Result::Error;
        }
        s.dialFailure = *outcome;
        s.dialFailures = -1;
        if (!toInt(p, "dial-failures", 1, INT_MAX, s.dialFailures, message))
            return Result::Error;
    } else if (p.isSet("dial-failures")) {
        message = QStringLiteral("--dial-failures needs --dial-fail");
        return Result::Error;
    }

    s.cidTenAsA = p.isSet("cid-ten-as-a");
    s.readIncludesEnd = !p.isSet("read-excludes-end");
    s.channelCodesToNine = p.isSet("channel-codes-to-nine");
    s.periodsToFE = p.isSet("periods-to-fe");
    s.oddValues = p.isSet("odd-values");
    s.crlfAnswers = p.isSet("crlf");
    s.modemEcho = p.isSet("modem-echo");
    s.faults.answerOnRetry = p.isSet("answer-on-retry");
    s.faults.splitBytes = p.isSet("split-bytes");
    s.faults.sprinkle = p.isSet("sprinkle");
    s.faults.missingOk = p.isSet("missing-ok");
    s.faults.garbage = p.isSet("garbage");
    s.faults.answerTwice = p.isSet("answer-twice");
    if (p.isSet("line-before"))
        s.faults.lineBefore = p.value("line-before").toLatin1();
    if (p.isSet("chatter-line"))
        s.faults.chatterLine = p.value("chatter-line").toLatin1();
    s.faults.refuseErase = p.isSet("refuse-erase");
    s.faults.onlyCommand = p.value("fault-command");
    s.transcriptPath = p.value("transcript");
    return Result::Run;
}

} // namespace emu
