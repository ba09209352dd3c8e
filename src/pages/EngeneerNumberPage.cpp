#include "EngeneerNumberPage.h"

QString TEngeneerNumberPage::EnableCaption() {
    return QStringLiteral("Включить инженерные номера");
}

TEngeneerNumberPage::TEngeneerNumberPage(IPageHost& host, QObject* parent)
    : TPageModel(host, ptEngineerNumbers, parent) {
    fEnabled = &fParams.Number(QStringLiteral("EnableEng"), 0, 0, 1);
    fEnabled->Caption = EnableCaption();
    // "00" is enabled; "FF" and anything else the panel may answer leave the
    // switch off.
    fParams.Param({
        .Command = QStringLiteral("+enaing"),
        .ReadName = EnableEngErrorName(),
        .Decode =
            [this](const QString& value) {
                fEnabled->SetNumber(DecodeEnableEng(value) ? 1 : 0);
                return true;
            },
        // A switch neither on nor off (a settings file's EnableEng=2) is not
        // sent.
        .Encode = [this]() -> std::optional<QString> {
            if (fEnabled->Number() != 0 && fEnabled->Number() != 1)
                return std::nullopt;
            return EncodeEnableEng(fEnabled->Number() == 1);
        },
    });

    for (int n = 1; n <= EngineerNumberCount; ++n) {
        TPageField* number = &fParams.Text(QStringLiteral("EPhone%1").arg(n));
        number->Caption = EngineerNumberErrorName(n);
        fNumbers[size_t(n - 1)] = number;
        fParams.Param({
            .Command = PhingReadCommand(n),
            .ReadName = EngineerNumberErrorName(n),
            .Decode =
                [number](const QString& value) {
                    number->SetText(value);
                    return true;
                },
            .Encode = [number]() -> std::optional<QString> {
                const QString sent = EngineerNumberForWrite(number->Text());
                number->SetText(sent);
                return sent;
            },
            .TextValue = true,
        });
    }
}

TPageField* TEngeneerNumberPage::Number(int n) {
    return n >= 1 && n <= EngineerNumberCount ? fNumbers[size_t(n - 1)] : nullptr;
}
