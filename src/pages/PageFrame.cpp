#include "PageFrame.h"

TPageFrame::TPageFrame(IPageHost& host, int tag, QWidget* parent) : QWidget(parent), fHost(host), fTag(tag) {}

void TPageFrame::Init() {}

void TPageFrame::ReadPage() {
    RunOperation(wmRead, [this](QStringList& errors) { fParams.Read(fHost.Exchange(), errors); });
}

void TPageFrame::WritePage() {
    RunOperation(wmWrite, [this](QStringList& errors) { fParams.Write(fHost.Exchange(), errors); });
}

void TPageFrame::SetDefault() {
    fParams.SetDefault();
}

void TPageFrame::GetSettings(QStringList& List) {
    List.clear();
    fParams.GetSettings(List);
}

void TPageFrame::SetSettings(const QStringList& List) {
    TSettingsLoad load = fParams.LoadSettings(List);
    if (load.Usable())
        load.ApplyAll();
    else
        SetDefault();
}

QString TPageFrame::SettingsCaption(const QString& key) const {
    const TPageField* field = fParams.FindField(key);
    return field ? field->CaptionText() : key;
}

void TPageFrame::DevRelease(int) {}

void TPageFrame::HostStateChanged(TOperationState) {}

bool TPageFrame::RunOperation(TWorkMode mode, const std::function<void(QStringList& errors)>& body,
                              const std::function<void(const QStringList& errors)>& report) {
    // A page runs one operation at a time: the window's message loop runs
    // while the panel is awaited, and a button of the page may be pressed.
    if (FMode != wmNull)
        return false;
    TOperationScope operation(fHost, mode == wmWrite ? TOperationState::Writing : TOperationState::Reading);
    if (!operation)
        return false;
    FMode = mode;
    QStringList errors;
    body(errors);
    if (!errors.isEmpty()) {
        if (report)
            report(errors);
        else
            fHost.ShowErrorList(errors, mode);
    }
    FMode = wmNull;
    return true;
}
