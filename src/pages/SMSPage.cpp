#include "SMSPage.h"

#include "KeptValue.h"
#include "SMSTextFile.h"
#include "StringFuncs.h"

TSMSPage::TSMSPage(IPageHost& host, QObject* parent) : TPageModel(host, ptSMS, parent) {
    for (int r = 1; r <= SMSCount; ++r) {
        TPageField& text = fParams.Text(QStringLiteral("SMS%1").arg(r), SMSPurpose(r));
        // The grid's text column, in the row of its number and purpose.
        text.Caption = QStringLiteral("%1 %2 (%3)").arg(SMSGridHeader().at(2)).arg(r).arg(SMSPurpose(r));
        fTexts[size_t(r - 1)] = &text;
        const QString writeName = SMSWriteErrorName(r);
        // An empty text makes the write the read command: the panel answers
        // with the text it keeps, and has not taken the empty one.
        fParams.TextParam(SMSReadCommand(r), SMSReadErrorName(r), text, writeName).CheckWrite =
            [writeName](const QString& value, const QStringList& answer) -> std::optional<QString> {
            if (const std::optional<QString> kept = KeptValueAfterWrite(value, answer))
                return KeptValueErrorName(writeName, *kept);
            return std::nullopt;
        };
    }
}

TPageField* TSMSPage::Text(int r) {
    return r >= 1 && r <= SMSCount ? fTexts[size_t(r - 1)] : nullptr;
}

QString TSMSPage::TextOf(int r) const {
    return r >= 1 && r <= SMSCount ? fTexts[size_t(r - 1)]->Text() : QString();
}

void TSMSPage::Init() {
    fParams.SetDefault();
}

bool TSMSPage::Transliterate() {
    if (FMode != wmNull)
        return false;
    for (TPageField* text : fTexts)
        EditText(*text, TranslitToLatin(text->Text()));
    return true;
}

bool TSMSPage::LoadTextFile(const QString& path) {
    if (FMode != wmNull)
        return false;
    const TSMSFileResult file = ReadSMSFile(path);
    if (!file.Ok) {
        fHost.ShowError(file.Error);
        return false;
    }
    for (int r = 1; r <= SMSCount; ++r)
        EditText(*fTexts[size_t(r - 1)], file.Texts.at(r - 1));
    return true;
}

bool TSMSPage::SaveTextFile(const QString& path) {
    if (FMode != wmNull)
        return false;
    QStringList texts;
    for (const TPageField* text : fTexts)
        texts.append(text->Text());
    QString error;
    if (!WriteSMSFile(path, texts, &error)) {
        fHost.ShowError(error);
        return false;
    }
    return true;
}
