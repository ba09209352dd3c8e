#pragma once

#include "boot_loader.h"
#include "journal.h"
#include "panel_settings.h"
#include "parameter_store.h"
#include "reply.h"

#include <QString>
#include <QStringList>

namespace emu {

// The panel's side of the command exchange: takes one command line and
// answers it. Reads ("+o") answer the value line and "OK"; writes ("+o0050")
// are checked and answer "OK", or "ERROR" alone when the value is not one the
// panel takes. Unknown commands, commands out of place (page commands before
// "CABLE CONNECT" on the cable, boot-loader commands outside the boot loader
// and the other way round) also get "ERROR".
class PanelCommands {
public:
    struct Outcome {
        QString name;          // the command's name for the counters ("+o", "+alphon3", "?")
        bool write = false;    // a value was given
        bool rejected = false; // answered "ERROR"
        Reply reply;
        bool restarted = false; // the panel restarted (after "+EE")
    };

    PanelCommands(const PanelSettings& settings, ParameterStore& store, Journal& journal, BootLoader& boot);

    Outcome handle(const QByteArray& line, bool overModem);
    // The name the line would be counted under, without running it.
    QString nameOf(const QByteArray& line) const;

    bool sessionOpen() const { return fSession; }
    void endSession() { fSession = false; }
    // Every command name the panel knows (families with their index).
    QStringList commandNames() const;

private:
    void resolve(const QByteArray& line, Outcome& out, QByteArray& rest) const;
    Reply readValue(const QByteArray& value) const;
    // A direction entry with channel code 7, 8 or 9, stored when the panel
    // is set up to take them (PanelSettings::channelCodesToNine).
    bool writeWiderChannel(const QString& name, const QByteArray& value);
    // An automatic test period beyond the lists, stored when the panel is
    // set up to take it (PanelSettings::periodsToFE).
    bool writeLongerPeriod(const QString& name, const QByteArray& value);
    // A value the tool lists no item for, stored when the panel is set up
    // to hold such values (PanelSettings::oddValues).
    bool writeOddValue(const QString& name, const QByteArray& value);
    Reply ok(int extraDelayMs = 0) const;

    const PanelSettings& fSettings;
    ParameterStore& fStore;
    Journal& fJournal;
    BootLoader& fBoot;
    bool fSession = false;
    QList<QByteArray> fPrefixes; // longest first
};

} // namespace emu
