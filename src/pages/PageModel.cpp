#include "PageModel.h"

#include "PageOperation.h"

TPageModel::TPageModel(IPageHost& host, int tag, QObject* parent) : QObject(parent), fHost(host), fTag(tag) {
    fParams.OnChanged = [this](TPageField& field) {
        emit FieldChanged(&field);
        emit ValuesChanged();
    };
}

TPageField* TPageModel::Field(const QString& key) {
    return const_cast<TPageField*>(fParams.FindField(key));
}

const TPageField* TPageModel::Field(const QString& key) const {
    return fParams.FindField(key);
}

void TPageModel::Init() {}

TPageResult TPageModel::Read() {
    return Settle(
        RunOperation(wmRead, [this](QStringList& errors) { fParams.Read(fHost.Exchange(), errors); }));
}

TPageResult TPageModel::Write() {
    return Settle(
        RunOperation(wmWrite, [this](QStringList& errors) { fParams.Write(fHost.Exchange(), errors); }));
}

void TPageModel::SetDefault() {
    fParams.SetDefault();
    SetChanged(true);
}

QStringList TPageModel::Settings() const {
    QStringList lines;
    fParams.GetSettings(lines);
    return lines;
}

void TPageModel::LoadSettings(const QStringList& lines) {
    TSettingsLoad load = fParams.LoadSettings(lines);
    if (load.Usable())
        load.ApplyAll();
    else
        SetDefault();
    SetLoadRefused(load.Usable() ? load.Refused() : QStringList());
    SetChanged(false);
}

QString TPageModel::SettingsCaption(const QString& key) const {
    if (const TPageField* field = fParams.FindField(key))
        return field->CaptionText();
    // A key that carries what a field's own key cannot.
    for (const TPageField& f : fParams.Fields()) {
        if (!f.KeptKey.isEmpty() && f.KeptKey.compare(key, Qt::CaseInsensitive) == 0)
            return f.CaptionText();
    }
    return key;
}

void TPageModel::DevRelease(int) {}

std::vector<TPanelValue> TPageModel::WriteValues() {
    return TableValues();
}

std::vector<TPanelValue> TPageModel::HeldValues() {
    return TableValues();
}

std::vector<TPanelValue> TPageModel::TableValues() const {
    std::vector<TPanelValue> values;
    for (const TPageParam& p : fParams.Params()) {
        if (p.Writable())
            values.push_back(
                {p.WriteCommandName(), p.Encode(), p.ReadName.isEmpty() ? p.WriteErrorName() : p.ReadName});
    }
    return values;
}

void TPageModel::EditText(TPageField& field, const QString& text) {
    if (field.Text() == text)
        return;
    field.SetText(text);
    SetChanged(true);
}

void TPageModel::EditNumber(TPageField& field, int number) {
    if (field.Number() == number)
        return;
    field.SetNumber(number);
    SetChanged(true);
}

TPageResult TPageModel::RunOperation(TWorkMode mode, const std::function<void(QStringList& errors)>& body,
                                     const QString& message) {
    TPageResult result;
    result.Ran = RunPageOperation(fHost, FMode, mode, body, [&](const QStringList& errors) {
        result.Errors = errors;
        if (!errors.isEmpty())
            result.Message = message;
        ReportPageResult(fHost, result, mode);
    });
    return result;
}

TPageResult TPageModel::Settle(const TPageResult& result) {
    if (result.Ok())
        SetChanged(false);
    return result;
}

void TPageModel::SetChanged(bool changed) {
    if (fChanged == changed)
        return;
    fChanged = changed;
    emit ChangeStateChanged(changed);
}

void ReportPageResult(IPageHost& host, const TPageResult& result, TWorkMode mode) {
    if (result.Errors.isEmpty())
        return;
    if (!result.Message.isEmpty())
        host.ShowError(result.Message);
    else
        host.ShowErrorList(result.Errors, mode);
}
