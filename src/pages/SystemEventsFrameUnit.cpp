#include "SystemEventsFrameUnit.h"

#include "Accessibility.h"
#include "FieldBindings.h"
#include "SystemEventsCodec.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

void FillNumbers(QComboBox* combo, int count) {
    for (int n = 0; n < count; ++n)
        combo->addItem(QString::number(n));
}

} // namespace

TSystemEventsFrame::TSystemEventsFrame(IPageHost& host, QWidget* parent)
    : TPageFrame(host, ptSystemEvents, parent), fPage(new TSystemEventsPage(host)) {
    setObjectName(QStringLiteral("SystemEventsFrame"));
    SetPageModel(fPage);
    BuildControls();
    Show(*fPage, fPage->Hours(), HourCombo);
    Show(*fPage, fPage->Minutes(), MinCombo);
    Show(*fPage, fPage->Reboot(), RebootEventCheckBox);
}

void TSystemEventsFrame::BuildControls() {
    const auto named = [](auto* w, const char* name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };

    SysEventsGroup = named(new QGroupBox(QStringLiteral("Системные события"), this), "SysEventsGroup");
    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->addWidget(SysEventsGroup);

    AutotestPeriodGroup =
        named(new QGroupBox(TSystemEventsPage::PeriodCaption(), SysEventsGroup), "AutotestPeriodGroup");
    HourCombo = named(new QComboBox(AutotestPeriodGroup), "HourCombo");
    FillNumbers(HourCombo, HourCount);
    Label1 = named(new QLabel(TSystemEventsPage::HoursCaption(), AutotestPeriodGroup), "Label1");
    MinCombo = named(new QComboBox(AutotestPeriodGroup), "MinCombo");
    FillNumbers(MinCombo, MinuteCount);
    Label2 = named(new QLabel(TSystemEventsPage::MinutesCaption(), AutotestPeriodGroup), "Label2");
    for (QComboBox* combo : {HourCombo, MinCombo}) {
        combo->setEditable(false);
        combo->setCurrentIndex(0);
        combo->setMinimumContentsLength(3);
    }
    Label1->setBuddy(HourCombo);
    Label2->setBuddy(MinCombo);
    auto* periodLayout = new QHBoxLayout(AutotestPeriodGroup);
    periodLayout->addWidget(HourCombo);
    periodLayout->addWidget(Label1);
    periodLayout->addSpacing(12);
    periodLayout->addWidget(MinCombo);
    periodLayout->addWidget(Label2);
    periodLayout->addStretch();

    GenerateGroup =
        named(new QGroupBox(QStringLiteral("Генерация событий"), SysEventsGroup), "GenerateGroup");
    RebootEventCheckBox =
        named(new QCheckBox(TSystemEventsPage::RebootCaption(), GenerateGroup), "RebootEventCheckBox");
    auto* generateLayout = new QVBoxLayout(GenerateGroup);
    generateLayout->addWidget(RebootEventCheckBox);

    auto* mainLayout = new QGridLayout(SysEventsGroup);
    mainLayout->addWidget(AutotestPeriodGroup, 0, 0);
    mainLayout->addWidget(GenerateGroup, 1, 0);
    mainLayout->setRowStretch(2, 1);
    mainLayout->setColumnStretch(1, 1);

    NameGroupBoxes(this);
}
