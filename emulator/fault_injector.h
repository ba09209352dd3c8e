#pragma once

#include "panel_settings.h"
#include "reply.h"

#include <QString>

namespace emu {

// Puts the switched-on faults into the panel's answers. Only panel commands
// pass through here (the modem's own answers stay clean), and with
// Faults::onlyCommand set only the commands whose name starts with it.
class FaultInjector {
public:
    explicit FaultInjector(const PanelSettings& settings) : fSettings(settings) {}

    // Whether the panel hears the command at all (lost every Nth command; the
    // first sending of a command when it is answered only on the retry).
    bool admit(const QString& name, const QByteArray& line);
    // Faults on the answer's lines: a journal record left out, missing "OK",
    // garbage, extra delay.
    Reply shape(const QString& name, Reply reply);
    // Faults on the bytes: LF and '>' sprinkled in, cut off half way (sets
    // hungUp), split into single bytes.
    QList<TimedBytes> shapeBytes(const QString& name, QList<TimedBytes> bytes, bool& hungUp);

    void restart();
    bool applies(const QString& name) const;

private:
    const PanelSettings& fSettings;
    int fCommands = 0;      // commands the faults apply to, seen so far
    QByteArray fUnanswered; // the command ignored last, waiting for its retry
    bool fSkipped = false;  // the record of Faults::skipRecord was left out once
    quint32 fNoise = 0x2545F491;
};

} // namespace emu
