#include "PanelArchive.h"

#include "ArchiveUser.h"
#include "PanelIdentity.h"

#include "panel/DeviceVersion.h"

namespace {
const QString kObjectKey = QStringLiteral("Object");

// The first "Object=" line's value, as loading a settings file finds it.
QString ObjectOf(const QStringList& lines) {
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq >= 0 && line.left(eq).compare(kObjectKey, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1);
    }
    return {};
}
} // namespace

TPanelArchive::TPanelArchive(QString path) : fPath(std::move(path)) {}

TPanelArchive::~TPanelArchive() = default;

bool TPanelArchive::Open() {
    if (!fEnabled) {
        fError.clear();
        return false;
    }
    if (fArchive)
        return true;
    auto archive = std::make_unique<TArchive>();
    if (!archive->Open(fPath)) {
        fError = archive->Error();
        return false;
    }
    fArchive = std::move(archive);
    fJournal = std::make_unique<TJournalArchive>(*fArchive);
    fConfigs = std::make_unique<TConfigArchive>(*fArchive);
    fError.clear();
    return true;
}

void TPanelArchive::NewConnection(const TDeviceVersion& version) {
    fObject.clear();
    fPanel.reset();
    fVersionLine = version.Name;
    fMemory = version.Memory;
}

void TPanelArchive::SetConnectedObject(const QString& object) {
    if (object.isEmpty() || object == fObject)
        return;
    fObject = object;
    fPanel.reset();
}

std::optional<qint64> TPanelArchive::Note(const QString& object) {
    if (!Open())
        return std::nullopt;
    const std::optional<qint64> id =
        fArchive->NoteConnection(object, fVersionLine, fMemory, QDateTime::currentDateTimeUtc());
    if (!id)
        fError = fArchive->Error();
    return id;
}

std::optional<qint64> TPanelArchive::ConnectedPanel(TPanelExchange& exchange, uint32_t timeOut) {
    if (fPanel)
        return fPanel;
    if (!Open())
        return std::nullopt;
    if (fObject.isEmpty()) {
        QString reason;
        const std::optional<QString> object = ReadObjectNumber(exchange, timeOut, &reason);
        if (!object) {
            fError = reason;
            return std::nullopt;
        }
        fObject = *object;
    }
    fPanel = Note(fObject);
    return fPanel;
}

bool TPanelArchive::KeepConfiguration(const QStringList& lines, TConfigDirection direction,
                                      TPanelExchange& exchange, uint32_t timeOut) {
    if (!fEnabled)
        return true;
    const QString object = ObjectOf(lines);
    const std::optional<qint64> panel = object.isEmpty() ? ConnectedPanel(exchange, timeOut) : Note(object);
    if (!panel)
        return false;
    if (!fConfigs->Store(*panel, lines, direction, ArchiveUserName(), QDateTime::currentDateTimeUtc())) {
        fError = fConfigs->Error();
        return false;
    }
    return true;
}
