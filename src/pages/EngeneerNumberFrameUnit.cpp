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
    : TPageFrame(host, ptEngineerNumbers, parent), fPage(new TEngeneerNumberPage(host)) {
    setObjectName(QStringLiteral("EngeneerNumberFrame"));
    SetPageModel(fPage);
    BuildControls();
    Show(*fPage, fPage->Enabled(), EnableCheck);
    for (int n = 1; n <= EngineerNumberCount; ++n)
        Show(*fPage, *fPage->Number(n), Edit(n));
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

    EnableCheck = new QCheckBox(TEngeneerNumberPage::EnableCaption(), MainGroupBox);
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

void TEngeneerNumberFrame::EnableCheckClick(bool checked) {
    for (int n = 1; n <= EngineerNumberCount; ++n)
        Edit(n)->setEnabled(checked);
}
