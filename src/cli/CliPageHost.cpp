#include "CliPageHost.h"

#include "CliSession.h"
#include "panel/CommandExchange.h"

#include <QTextStream>

void TCliPageHost::Line(const QString& text) {
    // A message box's text may run over several lines: one line here.
    fErr << fPage << ": " << QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')) << '\n';
    fErr.flush();
}

TPanelExchange& TCliPageHost::Exchange() {
    return fSession.Exchange();
}

bool TCliPageHost::isConnected() const {
    return fSession.Connected();
}

int TCliPageHost::DeviceRelease() const {
    return fSession.Version().Release;
}

void TCliPageHost::SetWakeUp(bool on) {
    fSession.SetWakeUp(on && fSession.Connected());
}

bool TCliPageHost::BeginOperation(TOperationState state) {
    // One page at a time and nothing beside it: every operation may start,
    // and nest, while the panel is there.
    return IsOperation(state) && fSession.Connected();
}

void TCliPageHost::ShowErrorList(const QStringList& errors, TWorkMode mode) {
    const QString what = mode == wmWrite ? QStringLiteral("не записано") : QStringLiteral("не прочитано");
    for (const QString& name : errors)
        Line(what + QStringLiteral(": ") + name);
    if (!errors.isEmpty())
        fFailed = true;
}

void TCliPageHost::ShowMessage(const QString& text) {
    Line(text);
}

void TCliPageHost::ShowError(const QString& text) {
    Line(QStringLiteral("ошибка: ") + text);
    fFailed = true;
}

bool TCliPageHost::Confirm(const QString& question) {
    if (!fQuiet)
        Line(question + (fAnswer ? QStringLiteral(" — да") : QStringLiteral(" — нет")));
    return fAnswer;
}

void TCliPageHost::BeginBusy(const QString& text, bool) {
    if (!fQuiet)
        Line(text);
}
