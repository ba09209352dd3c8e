#include "ParamTable.h"

#include "SettingsLookup.h"
#include "panel/ValueShapes.h"

#include <algorithm>

namespace {

const QString kOK = QStringLiteral("OK");

// An answer that is nothing but "OK" carries no value.
bool IsLoneOk(const QStringList& lines) {
    return lines.size() == 1 && lines.first() == kOK;
}

// A value of another form than the command's is no answer to it (a stray
// line, another command's late or repeated answer): the read fails. A panel
// holding an empty text sends no value line before its "OK": for a text
// parameter that answer is the empty value, for any other no value at all.
bool ReadAnswer(TPanelExchange& exchange, const QString& command, bool text, QStringList& lines,
                QString& value, uint32_t timeOut, TFailReason* why = nullptr) {
    QStringList answer;
    if (!exchange.DeviceCommandLst(command, answer, timeOut)) {
        if (why)
            *why = TFailReason::NoAnswer;
        return false;
    }
    if (IsLoneOk(answer) && text) {
        lines = answer;
        value.clear();
        return true;
    }
    if (IsLoneOk(answer) || !ValueFitsShape(command, AnswerValue(answer))) {
        if (why)
            *why = TFailReason::BadValue;
        return false;
    }
    lines = answer;
    value = AnswerValue(answer);
    return true;
}

} // namespace

TPageField::TPageField(TParamTable& table, TKind kind, QString key, TFieldBinding control)
    : Kind(kind), Key(std::move(key)), Control(std::move(control)), fTable(&table) {}

bool TPageField::Bound() const {
    return Kind == fkText ? bool(Control.GetText) : bool(Control.GetNumber);
}

QString TPageField::Text() const {
    return Control.GetText ? Control.GetText() : fText;
}

int TPageField::Number() const {
    return Control.GetNumber ? Control.GetNumber() : fNumber;
}

void TPageField::SetText(const QString& text) {
    if (Control.SetText) {
        Control.SetText(text);
        return;
    }
    if (Bound() || fText == text)
        return;
    fText = text;
    fTable->Changed(*this);
}

void TPageField::SetNumber(int number) {
    if (Control.SetNumber) {
        Control.SetNumber(number);
        return;
    }
    if (Bound() || fNumber == number)
        return;
    fNumber = number;
    fTable->Changed(*this);
}

std::optional<int> TPageField::Item() const {
    const int n = Number();
    if (n < 0 || n >= Items)
        return std::nullopt;
    return n;
}

void TPageField::SetDefault() {
    if (Kind == fkText)
        SetText(DefaultText);
    else
        SetNumber(DefaultNumber);
}

QString TPageField::SettingsLine() const {
    if (Kind == fkText)
        return Key + QLatin1Char('=') + Text();
    int saved = Items > 0 && Number() == -1 && SavedWithoutItem ? *SavedWithoutItem : Number();
    if (!KeptLine().isEmpty())
        saved = std::clamp(saved, Min, Max);
    return Key + QLatin1Char('=') + QString::number(saved);
}

QString TPageField::KeptLine() const {
    const int n = Number();
    if (Kind != fkNumber || KeptKey.isEmpty() || Items <= 0 || Item() || (n >= Min && n <= Max) || n < 0 ||
        n > KeptMax)
        return {};
    return KeptKey + QLatin1Char('=') + QString::number(n);
}

QString TPageField::CaptionText() const {
    if (!Caption.isEmpty())
        return Caption;
    const QString own = Control.Caption ? Control.Caption() : QString();
    return own.isEmpty() ? Key : own;
}

void TSettingsLoad::ApplyValue(TValue& value) {
    if (value.Applied)
        return;
    value.Applied = true;
    if (value.Field->Kind == TPageField::fkText)
        value.Field->SetText(value.Text);
    else
        value.Field->SetNumber(value.Number);
}

void TSettingsLoad::Apply(const TPageField& field) {
    for (TValue& v : fValues) {
        if (v.Field == &field)
            ApplyValue(v);
    }
}

void TSettingsLoad::ApplyAll() {
    for (TValue& v : fValues)
        ApplyValue(v);
}

TPageField& TParamTable::Text(const QString& key, const QString& defaultText) {
    TPageField& f = fFields.emplace_back(*this, TPageField::fkText, key);
    f.DefaultText = defaultText;
    return f;
}

TPageField& TParamTable::Number(const QString& key, int defaultNumber, int min, int max) {
    TPageField& f = fFields.emplace_back(*this, TPageField::fkNumber, key);
    f.DefaultNumber = defaultNumber;
    f.Min = min;
    f.Max = max;
    return f;
}

TPageField& TParamTable::Text(const QString& key, TFieldBinding control, const QString& defaultText) {
    TPageField& f = fFields.emplace_back(*this, TPageField::fkText, key, std::move(control));
    f.DefaultText = defaultText;
    return f;
}

TPageField& TParamTable::Number(const QString& key, TFieldBinding control, int defaultNumber, int min,
                                int max) {
    TPageField& f = fFields.emplace_back(*this, TPageField::fkNumber, key, std::move(control));
    f.DefaultNumber = defaultNumber;
    f.Min = min;
    f.Max = max;
    return f;
}

void TParamTable::Changed(TPageField& field) {
    if (OnChanged)
        OnChanged(field);
}

const TPageField* TParamTable::FindField(const QString& key) const {
    for (const TPageField& f : fFields) {
        if (!f.Key.isEmpty() && f.Key.compare(key, Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

const TPageParam* TParamTable::FindParam(const QString& command) const {
    for (const TPageParam& p : fParams) {
        if (p.Command == command)
            return &p;
    }
    return nullptr;
}

TPageParam& TParamTable::Param(TPageParam param) {
    return fParams.emplace_back(std::move(param));
}

TPageParam& TParamTable::TextParam(const QString& command, const QString& readName, TPageField& field,
                                   const QString& writeName) {
    TPageField* f = &field;
    return Param({
        .Command = command,
        .ReadName = readName,
        .Decode =
            [f](const QString& value) {
                f->SetText(value);
                return true;
            },
        .Encode = [f]() -> std::optional<QString> { return f->Text(); },
        .WriteName = writeName,
        .TextValue = true,
    });
}

bool ReadValue(TPanelExchange& exchange, const QString& command, QString& value, uint32_t timeOut) {
    QStringList lines;
    return ReadAnswer(exchange, command, false, lines, value, timeOut);
}

bool TParamTable::ReadParam(TPanelExchange& exchange, TPageParam& param, QStringList& errors) {
    QStringList lines;
    QString value;
    TFailReason why = TFailReason::BadValue;
    bool ok = ReadAnswer(exchange, param.Command, param.TextValue, lines, value, param.TimeOut, &why);
    if (ok)
        ok = param.DecodeAnswer ? param.DecodeAnswer(lines) : param.Decode(value);
    if (!ok) {
        errors.append(param.ReadName);
        exchange.NoteFailure(param.ReadName, why);
        return false;
    }
    param.Raw = value;
    param.WasRead = true;
    return true;
}

bool TParamTable::WriteParam(TPanelExchange& exchange, const TPageParam& param, QStringList& errors) {
    const std::optional<QString> value = param.Encode();
    if (!value) {
        errors.append(param.WriteErrorName());
        return false;
    }
    const qsizetype before = errors.size();
    QStringList answer;
    exchange.ReadParamFromDevice(param.WriteCommandName() + *value, answer, errors, param.WriteErrorName(),
                                 kOK, param.TimeOut);
    if (errors.size() != before)
        return false;
    if (param.CheckWrite) {
        if (const std::optional<QString> refused = param.CheckWrite(*value, answer)) {
            errors.append(*refused);
            return false;
        }
    }
    return true;
}

void TParamTable::Read(TPanelExchange& exchange, QStringList& errors) {
    for (TPageParam& p : fParams) {
        if (p.Readable())
            ReadParam(exchange, p, errors);
    }
}

void TParamTable::Write(TPanelExchange& exchange, QStringList& errors) const {
    for (const TPageParam& p : fParams) {
        if (p.Writable())
            WriteParam(exchange, p, errors);
    }
}

void TParamTable::SetDefault() {
    for (TPageField& f : fFields)
        f.SetDefault();
}

void TParamTable::GetSettings(QStringList& lines) const {
    for (const TPageField& f : fFields) {
        if (f.Key.isEmpty())
            continue;
        lines.append(f.SettingsLine());
        if (const QString kept = f.KeptLine(); !kept.isEmpty())
            lines.append(kept);
    }
}

TSettingsLoad TParamTable::LoadSettings(const QStringList& lines) {
    TSettingsLoad load;
    for (TPageField& f : fFields) {
        if (f.Key.isEmpty())
            continue;
        TSettingsLoad::TValue v{&f, {}, 0, false};
        if (f.Kind == TPageField::fkText) {
            v.Text = SettingsValue(lines, f.Key);
        } else if (!SettingsInt(lines, f.Key, v.Number)) {
            load.fUsable = false;
        } else if (v.Number < f.Min || v.Number > f.Max) {
            load.fRefused.append(f.Key + QLatin1Char('=') + SettingsValue(lines, f.Key));
        } else if (int kept = 0; !f.KeptKey.isEmpty() && SettingsInt(lines, f.KeptKey, kept) && kept >= 0 &&
                                 kept <= f.KeptMax) {
            v.Number = kept;
        }
        load.fValues.push_back(v);
    }
    return load;
}
