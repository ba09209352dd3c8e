#include "PageFrame.h"

#include "PageOperation.h"

#include <algorithm>

TPageFrame::TPageFrame(IPageHost& host, int tag, QWidget* parent) : QWidget(parent), fHost(host), fTag(tag) {}

void TPageFrame::SetPageModel(TPageModel* model) {
    fModel = model;
    fModel->setParent(this);
}

TWorkMode TPageFrame::Mode() const {
    return fModel ? fModel->Mode() : FMode;
}

void TPageFrame::Init() {
    if (fModel)
        fModel->Init();
}

void TPageFrame::ReadPage() {
    if (fModel) {
        fModel->Read();
        return;
    }
    RunOperation(wmRead, [this](QStringList& errors) { fParams.Read(fHost.Exchange(), errors); });
}

void TPageFrame::WritePage() {
    if (fModel) {
        fModel->Write();
        return;
    }
    RunOperation(wmWrite, [this](QStringList& errors) { fParams.Write(fHost.Exchange(), errors); });
}

void TPageFrame::SetDefault() {
    if (fModel)
        fModel->SetDefault();
    else
        fParams.SetDefault();
}

void TPageFrame::GetSettings(QStringList& List) {
    List.clear();
    if (fModel)
        List = fModel->Settings();
    else
        fParams.GetSettings(List);
}

void TPageFrame::SetSettings(const QStringList& List) {
    if (fModel) {
        fModel->LoadSettings(List);
        return;
    }
    TSettingsLoad load = fParams.LoadSettings(List);
    if (load.Usable())
        load.ApplyAll();
    else
        SetDefault();
}

QString TPageFrame::SettingsCaption(const QString& key) const {
    if (fModel)
        return fModel->SettingsCaption(key);
    const TPageField* field = fParams.FindField(key);
    return field ? field->CaptionText() : key;
}

void TPageFrame::DevRelease(int Release) {
    if (fModel)
        fModel->DevRelease(Release);
}

void TPageFrame::HostStateChanged(TOperationState) {}

bool TPageFrame::RunOperation(TWorkMode mode, const std::function<void(QStringList& errors)>& body,
                              const std::function<void(const QStringList& errors)>& report) {
    return RunPageOperation(fHost, FMode, mode, body, [&](const QStringList& errors) {
        if (errors.isEmpty())
            return;
        if (report)
            report(errors);
        else
            fHost.ShowErrorList(errors, mode);
    });
}

std::vector<TPageModel*> SettingsPages(const std::vector<TPageFrame*>& frames) {
    std::vector<TPageFrame*> sorted;
    std::copy_if(frames.begin(), frames.end(), std::back_inserter(sorted),
                 [](const TPageFrame* f) { return f && f->PageModel(); });
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TPageFrame* a, const TPageFrame* b) { return a->Tag() < b->Tag(); });
    std::vector<TPageModel*> pages;
    for (const TPageFrame* f : sorted)
        pages.push_back(f->PageModel());
    return pages;
}
