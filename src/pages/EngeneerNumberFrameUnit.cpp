#include "EngeneerNumberFrameUnit.h"

#include "Accessibility.h"
#include "EngeneerNumberCodec.h"
#include "FieldBindings.h"
#include "KeyFilter.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TEngeneerNumberFrame::TEngeneerNumberFrame(IPageHost& host, QWidget* parent)
    : TPageFrame(host, ptEngineerNumbers, parent) {
    setObjectName(QStringLiteral("EngeneerNumberFrame"));
    BuildControls();
    DescribeParams();
}

QLineEdit* TEngeneerNumberFrame::Edit(int n) const {
    if (n < 1 || n > EngineerNumberCount)
        return nullptr;
    return findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n));
}

void TEngeneerNumberFrame::BuildControls() {
    MainGroupBox = new QGroupBox(QStringLiteral("Инженерные номера"), this);
    MainGroupBox->setObjectName(QStringLiteral("MainGroupBox"));
    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->addWidget(MainGroupBox);

    EnableCheck = new QCheckBox(QStringLiteral("Включить инженерные номера"), MainGroupBox);
    EnableCheck->setObjectName(QStringLiteral("EnableCheck"));

    auto* layout = new QGridLayout(MainGroupBox);
    layout->addWidget(EnableCheck, 0, 0, 1, 2);
    // Room for the longest number that can be typed.
    const int editWidth =
        fontMetrics().horizontalAdvance(QString(EngineerNumberMaxTyped, QLatin1Char('0'))) + 12;
    for (int n = 1; n <= EngineerNumberCount; ++n) {
        auto* label = new QLabel(QStringLiteral("%1:").arg(n), MainGroupBox);
        label->setObjectName(QStringLiteral("Label%1").arg(n));
        auto* edit = new QLineEdit(MainGroupBox);
        edit->setObjectName(QStringLiteral("Edit%1").arg(n));
        edit->setMinimumWidth(editWidth);
        TKeyFilter::Install(edit, EngineerKeyChars(), EngineerNumberMaxTyped);
        label->setBuddy(edit);
        // "1:" alone says little to a screen reader; the number's own name.
        edit->setAccessibleName(EngineerNumberErrorName(n));
        layout->addWidget(label, n, 0);
        layout->addWidget(edit, n, 1);
    }
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(EngineerNumberCount + 1, 1);

    NameGroupBoxes(this);
    connect(EnableCheck, &QCheckBox::toggled, this, &TEngeneerNumberFrame::EnableCheckClick);
    EnableCheckClick(false);
}

void TEngeneerNumberFrame::DescribeParams() {
    TPageField* enable = &fParams.Number(QStringLiteral("EnableEng"), Bind(EnableCheck), 0, 0, 1);
    // "00" is enabled; "FF" and anything else the panel may answer leave the
    // switch off.
    fParams.Param({
        .Command = QStringLiteral("+enaing"),
        .ReadName = EnableEngErrorName(),
        .Decode =
            [enable](const QString& value) {
                enable->SetNumber(DecodeEnableEng(value) ? 1 : 0);
                return true;
            },
        .Encode = [enable]() -> std::optional<QString> { return EncodeEnableEng(enable->Number() != 0); },
    });

    // A number read from the panel goes into its edit as it comes (an empty
    // one as the panel's single space). It is written without spaces, and an
    // empty one as a single space; the edit then shows what went out.
    for (int n = 1; n <= EngineerNumberCount; ++n) {
        TPageField* number = &fParams.Text(QStringLiteral("EPhone%1").arg(n), Bind(Edit(n)));
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
        });
    }
}

void TEngeneerNumberFrame::EnableCheckClick(bool checked) {
    for (int n = 1; n <= EngineerNumberCount; ++n)
        Edit(n)->setEnabled(checked);
}
