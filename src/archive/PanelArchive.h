#pragma once

#include "Archive.h"
#include "ConfigArchive.h"
#include "JournalArchive.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class TPanelExchange;
struct TDeviceVersion;

// The archive as the window keeps it: on or off (a setting), the file
// opened when first needed, and the panel connected now, known by its
// object number (noted once per connection, with its version line and
// memory type).
class TPanelArchive {
public:
    explicit TPanelArchive(QString path = TArchive::DefaultPath());
    ~TPanelArchive();

    bool Enabled() const { return fEnabled; }
    void SetEnabled(bool on) { fEnabled = on; }

    // The file, opened on first use; false with Error() (the archive off
    // counts as a failure too, with no error).
    bool Open();
    QString Error() const { return fError; }
    QString Path() const { return fPath; }
    TArchive& Archive() { return *fArchive; }
    TJournalArchive& Journal() { return *fJournal; }
    TConfigArchive& Configs() { return *fConfigs; }

    // Another connection: the panel is not known until asked again.
    void NewConnection(const TDeviceVersion& version);
    // The connected panel's object number as a page read it from the panel
    // ("+o"): no command is needed for it then.
    void SetConnectedObject(const QString& object);
    // The connected panel's id: noted under the object number set or, when
    // none is, read with "+o" (inside an operation). Nothing with Error().
    std::optional<qint64> ConnectedPanel(TPanelExchange& exchange, uint32_t timeOut);
    // The connected panel's object number, once known.
    QString ConnectedObject() const { return fObject; }

    // Keeps settings-file lines as one configuration of the panel their
    // "Object" value names (else of the connected panel, read with "+o"),
    // with the time and the workstation's user. Nothing is kept while the
    // archive is off; false with Error() when it did not take them.
    bool KeepConfiguration(const QStringList& lines, TConfigDirection direction, TPanelExchange& exchange,
                           uint32_t timeOut);

private:
    std::optional<qint64> Note(const QString& object);

    QString fPath;
    bool fEnabled = true;
    std::unique_ptr<TArchive> fArchive;
    std::unique_ptr<TJournalArchive> fJournal;
    std::unique_ptr<TConfigArchive> fConfigs;
    QString fError;
    QString fObject;
    std::optional<qint64> fPanel;
    QString fVersionLine;
    QString fMemory;
};
