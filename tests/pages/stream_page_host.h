#pragma once

// A page host without a window, as the command line drives the pages: the
// panel dialogue is handed in, failed parameters and messages are written
// as lines to a text stream (standard error there), questions get a fixed
// answer and file choices a fixed name.
#include "pages/PageHost.h"

#include <QTextStream>

class StreamPageHost : public IPageHost {
public:
    StreamPageHost(TPanelExchange& exchange, QTextStream& out) : fExchange(exchange), fOut(out) {}

    bool answerYes = false;
    QString fileName;

    TPanelExchange& Exchange() override { return fExchange; }
    bool isConnected() const override { return true; }
    int DeviceRelease() const override { return -1; }
    void SetWakeUp(bool) override {}
    // One command at a time, nested steps allowed: nothing else runs here.
    bool BeginOperation(TOperationState state) override { return IsOperation(state); }
    void EndOperation() override {}
    void ShowErrorList(const QStringList& errors, TWorkMode mode) override;
    void ShowMessage(const QString& text) override { fOut << text << Qt::endl; }
    void ShowError(const QString& text) override { fOut << "ошибка: " << text << Qt::endl; }
    bool Confirm(const QString& question) override;
    QString ChooseFile(const TFileChoice&) override { return fileName; }
    void BeginBusy(const QString& text, bool) override { fOut << text << Qt::endl; }
    void SetBusyProgress(int, int) override {}
    bool BusyCancelled() const override { return false; }
    void EndBusy() override {}

private:
    TPanelExchange& fExchange;
    QTextStream& fOut;
};
