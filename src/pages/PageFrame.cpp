#include "PageFrame.h"

TPageFrame::TPageFrame(IPageHost& host, int tag, QWidget* parent) : QWidget(parent), fHost(host), fTag(tag) {}

void TPageFrame::GetSettings(QStringList& List) {
    List.clear();
}

void TPageFrame::SetSettings(const QStringList&) {}

void TPageFrame::RunOperation(TWorkMode mode, const std::function<void(QStringList& errors)>& body) {
    FMode = mode;
    QStringList errors;
    body(errors);
    if (!errors.isEmpty())
        fHost.ShowErrorList(errors, mode);
    FMode = wmNull;
}
