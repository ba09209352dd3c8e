#include "page_fakes.h"

bool FakeExchange::DeviceCommandLst(const QString& ACommand, QStringList& Res, uint32_t TimeOut) {
    sent.push_back({ACommand, TimeOut, fUparam});
    if (during) {
        waiting = true;
        during(ACommand);
        waiting = false;
    }
    const auto it = answers.constFind(ACommand);
    if (it == answers.constEnd())
        return false;
    Res = *it;
    return true;
}

QStringList FakeExchange::Commands() const {
    QStringList out;
    for (const Sent& s : sent)
        out.append(s.Command);
    return out;
}

bool FakeHost::BeginOperation(TOperationState state) {
    if (!IsOperation(state) || !connected || (!held.empty() && exchange.waiting))
        return false;
    began.push_back(state);
    held.push_back(state);
    return true;
}

void FakeHost::EndOperation() {
    if (!held.empty())
        held.pop_back();
    ++ended;
}

bool FakeHost::Confirm(const QString& question) {
    questions.append(question);
    return answerYes;
}

QString FakeHost::ChooseFile(const TFileChoice& choice) {
    fileChoices.push_back(choice);
    return chosenFile;
}

void FakeHost::BeginBusy(const QString& text, bool cancellable) {
    busyTexts.append(text);
    busyCancellable.push_back(cancellable);
    busy = true;
}
