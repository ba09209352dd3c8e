#include "emulated_panel.h"

#include "journal_generator.h"

#include "cp1251.h"
#include "panel_core.h"
#include "panel_server.h"

namespace emu {

EmulatedPanel::EmulatedPanel(const PanelSettings& settings)
    : fCore(std::make_unique<PanelCore>(settings)), fServer(std::make_unique<PanelServer>(*fCore, fMutex)) {}

EmulatedPanel::~EmulatedPanel() {
    stop();
}

template <class F> auto EmulatedPanel::locked(F&& f) const {
    std::lock_guard lock(fMutex);
    return f(*fCore);
}

void EmulatedPanel::changed() {
    fServer->wake();
}

bool EmulatedPanel::start(QString* error) {
    {
        std::lock_guard lock(fMutex);
        const QString transcript = fCore->settings().transcriptPath;
        if (!transcript.isEmpty() && !fCore->openTranscript(transcript, error))
            return false;
    }
    return fServer->start(error);
}

void EmulatedPanel::stop() {
    fServer->stop();
}

bool EmulatedPanel::isRunning() const {
    return fServer->isRunning();
}

QString EmulatedPanel::slavePath() const {
    return fServer->slavePath();
}

PanelSettings EmulatedPanel::settings() const {
    return locked([](PanelCore& c) { return c.settings(); });
}

void EmulatedPanel::setMode(LinkMode mode) {
    locked([mode](PanelCore& c) {
        c.setMode(mode);
        return 0;
    });
    changed();
}

void EmulatedPanel::setVersionLine(const QString& line) {
    locked([&](PanelCore& c) { return c.settings().versionLine = line, 0; });
}

void EmulatedPanel::setBootVersionLine(const QString& line) {
    locked([&](PanelCore& c) { return c.settings().bootVersionLine = line, 0; });
}

void EmulatedPanel::setMemoryType(const QString& hexValue) {
    locked([&](PanelCore& c) { return c.settings().memoryType = hexValue, 0; });
}

void EmulatedPanel::setSignal(int level, int errors) {
    locked([&](PanelCore& c) {
        c.settings().signalLevel = level;
        c.settings().errorLevel = errors;
        return 0;
    });
}

void EmulatedPanel::setDelays(const Delays& delays) {
    locked([&](PanelCore& c) { return c.settings().delays = delays, 0; });
    changed();
}

Delays EmulatedPanel::delays() const {
    return locked([](PanelCore& c) { return c.settings().delays; });
}

void EmulatedPanel::setFaults(const Faults& faults) {
    locked([&](PanelCore& c) {
        c.settings().faults = faults;
        c.faults().restart();
        c.flood().restart();
        c.settingsChanged();
        return 0;
    });
    changed();
}

Faults EmulatedPanel::faults() const {
    return locked([](PanelCore& c) { return c.settings().faults; });
}

qint64 EmulatedPanel::floodLinesSent() const {
    return locked([](PanelCore& c) { return c.flood().linesSent(); });
}

void EmulatedPanel::setCrLfAnswers(bool on) {
    locked([&](PanelCore& c) { return c.settings().crlfAnswers = on, 0; });
}

void EmulatedPanel::setOddValues(bool on) {
    locked([&](PanelCore& c) { return c.settings().oddValues = on, 0; });
}

void EmulatedPanel::setReadIncludesEnd(bool on) {
    locked([&](PanelCore& c) { return c.settings().readIncludesEnd = on, 0; });
}

void EmulatedPanel::setModemEcho(bool on) {
    locked([&](PanelCore& c) { return c.settings().modemEcho = on, 0; });
}

void EmulatedPanel::setUnregisteredAnswers(int count) {
    locked([&](PanelCore& c) {
        c.settings().unregisteredAnswers = count;
        c.modem().restartDialogue();
        return 0;
    });
}

void EmulatedPanel::setDialFailure(DialOutcome outcome, int count) {
    locked([&](PanelCore& c) {
        c.settings().dialFailure = outcome;
        c.settings().dialFailures = outcome == DialOutcome::Connect ? 0 : count;
        c.modem().restartDialogue();
        return 0;
    });
}

QString EmulatedPanel::parameter(const QString& name) const {
    return cp1251::decode(parameterBytes(name));
}

QByteArray EmulatedPanel::parameterBytes(const QString& name) const {
    return locked([&](PanelCore& c) { return c.parameters().value(name); });
}

bool EmulatedPanel::setParameter(const QString& name, const QString& value) {
    return locked([&](PanelCore& c) { return c.parameters().write(name, cp1251::encode(value)); });
}

bool EmulatedPanel::storeParameterBytes(const QString& name, const QByteArray& value) {
    return locked([&](PanelCore& c) { return c.parameters().store(name, value); });
}

QStringList EmulatedPanel::parameterNames() const {
    return locked([](PanelCore& c) { return c.parameters().names(); });
}

void EmulatedPanel::resetParameters() {
    locked([](PanelCore& c) { return c.parameters().resetToFactory(), 0; });
}

void EmulatedPanel::regenerateJournal(int records, int badRecords, quint32 seed) {
    locked([&](PanelCore& c) {
        c.settings().journalRecords = records;
        c.settings().badRecords = badRecords;
        c.settings().seed = seed;
        c.regenerateJournal();
        return 0;
    });
}

void EmulatedPanel::setJournalLines(const QList<QByteArray>& lines) {
    locked([&](PanelCore& c) { return c.journal().setLines(lines), 0; });
}

void EmulatedPanel::appendJournalRecords(int count, quint32 seed) {
    locked([&](PanelCore& c) {
        JournalGenerator::Options options;
        options.records = count;
        options.seed = seed;
        options.account = c.parameters().value("+o").toUpper();
        options.firstIndex = int(c.journal().pointer());
        options.firstGlobalIndex = 0x400 + c.journal().written();
        c.journal().append(JournalGenerator::generate(options).lines);
        return 0;
    });
}

QList<QByteArray> EmulatedPanel::journalLines() const {
    return locked([](PanelCore& c) { return c.journal().lines(); });
}

unsigned EmulatedPanel::journalPointer() const {
    return locked([](PanelCore& c) { return c.journal().pointer(); });
}

QList<int> EmulatedPanel::badJournalIndexes() const {
    return locked([](PanelCore& c) { return c.journal().badIndexes(); });
}

bool EmulatedPanel::inBootLoader() const {
    return locked([](PanelCore& c) { return c.bootLoader().active(); });
}

QByteArray EmulatedPanel::flashedImage() const {
    return locked([](PanelCore& c) { return c.bootLoader().image(); });
}

int EmulatedPanel::flashedBlockCount() const {
    return locked([](PanelCore& c) { return c.bootLoader().blockCount(); });
}

std::optional<bool> EmulatedPanel::finalCheckPassed() const {
    return locked([](PanelCore& c) { return c.bootLoader().finalCheck(); });
}

bool EmulatedPanel::cableSessionOpen() const {
    return locked([](PanelCore& c) { return c.commands().sessionOpen(); });
}

bool EmulatedPanel::callConnected() const {
    return locked([](PanelCore& c) { return c.modem().callUp(); });
}

int EmulatedPanel::modemDials() const {
    return locked([](PanelCore& c) { return c.modem().dials(); });
}

int EmulatedPanel::toolOpenCount() const {
    return locked([](PanelCore& c) { return c.peerOpenCount(); });
}

int EmulatedPanel::commandCount(const QString& name) const {
    return locked([&](PanelCore& c) { return c.log().count(name); });
}

int EmulatedPanel::writeCount(const QString& name) const {
    return locked([&](PanelCore& c) { return c.log().writes(name); });
}

QMap<QString, int> EmulatedPanel::commandCounts() const {
    return locked([](PanelCore& c) { return c.log().counts(); });
}

QStringList EmulatedPanel::receivedLines() const {
    const QList<QByteArray> lines = locked([](PanelCore& c) { return c.log().lines(); });
    QStringList out;
    for (const QByteArray& l : lines)
        out.append(cp1251::decode(l));
    return out;
}

QStringList EmulatedPanel::rejectedLines() const {
    const QList<QByteArray> lines = locked([](PanelCore& c) { return c.log().rejected(); });
    QStringList out;
    for (const QByteArray& l : lines)
        out.append(cp1251::decode(l));
    return out;
}

QByteArray EmulatedPanel::receivedBytes() const {
    return locked([](PanelCore& c) { return c.receivedBytes(); });
}

QByteArray EmulatedPanel::sentBytes() const {
    return locked([](PanelCore& c) { return c.sentBytes(); });
}

void EmulatedPanel::clearRecords() {
    locked([](PanelCore& c) { return c.clearRecords(), 0; });
}

} // namespace emu
