#include "CommonFrameUnit.h"

#include "Accessibility.h"
#include "BalloonHint.h"
#include "ComputedListModel.h"
#include "DrawnIcon.h"
#include "FieldBindings.h"
#include "KeyFilter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>

TCommonFrame::TCommonFrame(IPageHost& host, QWidget* parent)
    : TPageFrame(host, ptCommon, parent), fPage(new TCommonPage(host)) {
    setObjectName(QStringLiteral("CommonFrame"));
    SetPageModel(fPage);
    BuildControls();
    ShowPage();
}

void TCommonFrame::BuildControls() {
    const auto named = [](auto* w, const char* name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };

    MainGroup = named(new QGroupBox(QStringLiteral("Общие настройки"), this), "MainGroup");
    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->addWidget(MainGroup);

    ObjectGroup = named(new QGroupBox(QStringLiteral("Объект"), MainGroup), "ObjectGroup");
    ObjNumLabel = named(new QLabel(TCommonPage::ObjectCaption(), ObjectGroup), "ObjNumLabel");
    ObjNumEdit = named(new QLineEdit(ObjectGroup), "ObjNumEdit");
    ObjNumEdit->setAlignment(Qt::AlignRight);
    TKeyFilter::Install(ObjNumEdit, ObjNumChars, ObjNumMaxTyped);
    ObjNumLabel->setBuddy(ObjNumEdit);
    auto* objectLayout = new QHBoxLayout(ObjectGroup);
    objectLayout->addWidget(ObjNumLabel);
    objectLayout->addWidget(ObjNumEdit);

    DispGroup = named(new QGroupBox(QStringLiteral("Диспетчерская связь"), MainGroup), "DispGroup");
    DispCheckBox = named(new QCheckBox(TCommonPage::DispCaption(), DispGroup), "DispCheckBox");
    InfoTimeText = named(new QLabel(TCommonPage::TimeCaption(), DispGroup), "InfoTimeText");
    // The caption carries its own line breaks and is not word-wrapped:
    // wrapping would put height-for-width layout through the whole window.
    TimeCombo = named(new QComboBox(DispGroup), "TimeCombo");
    TimeCombo->setEditable(false);
    TimeCombo->setMaxVisibleItems(15);
    // As wide as its widest item, "Неограничено", without measuring the 255
    // items of the list one by one.
    TimeCombo->setMinimumContentsLength(int(TCommonPage::TimeItemText(0).size()));
    TimeCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    InfoTimeText->setBuddy(TimeCombo);
    auto* dispLayout = new QVBoxLayout(DispGroup);
    dispLayout->addWidget(DispCheckBox);
    dispLayout->addWidget(InfoTimeText);
    dispLayout->addWidget(TimeCombo);
    dispLayout->addStretch();

    GSMSignalGroup = named(new QGroupBox(QStringLiteral("Сигнал GSM"), MainGroup), "GSMSignalGroup");
    GSMSigralLevel =
        named(new QLabel(QStringLiteral("Уровень сигнала GSM"), GSMSignalGroup), "GSMSigralLevel");
    SignalProgress = named(new QProgressBar(GSMSignalGroup), "SignalProgress");
    SignalProgress->setRange(0, SignalLevelMax);
    SignalProgress->setValue(0);
    SignalProgress->setTextVisible(false);
    SignalValue = named(new QLabel(QStringLiteral("0"), GSMSignalGroup), "SignalValue");
    GSMSignalErrors =
        named(new QLabel(QStringLiteral("Уровень ошибок GSM"), GSMSignalGroup), "GSMSignalErrors");
    ErrorsProgress = named(new QProgressBar(GSMSignalGroup), "ErrorsProgress");
    ErrorsProgress->setRange(0, ErrorLevelMax);
    ErrorsProgress->setValue(0);
    ErrorsProgress->setTextVisible(false);
    ErrorsValue = named(new QLabel(QStringLiteral("0"), GSMSignalGroup), "ErrorsValue");
    SpeedButton1 = named(new QToolButton(GSMSignalGroup), "SpeedButton1");
    SpeedButton1->setIcon(ReloadIcon());
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setToolTip(QStringLiteral("Прочитать уровень сигнала GSM"));
    SpeedButton1->setAccessibleName(SpeedButton1->toolTip());
    GSMSigralLevel->setBuddy(SignalProgress);
    GSMSignalErrors->setBuddy(ErrorsProgress);
    // The value texts run from "0" to "Неопределено": room for the widest,
    // so that the bars keep their width whatever they show.
    for (QLabel* value : {SignalValue, ErrorsValue}) {
        const QFontMetrics fm = value->fontMetrics();
        value->setFixedWidth(std::max(fm.horizontalAdvance(LevelText(SignalUnknown, 1)),
                                      fm.horizontalAdvance(QStringLiteral("100%"))) +
                             4);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    for (QProgressBar* bar : {SignalProgress, ErrorsProgress})
        bar->setMinimumWidth(60);
    auto* signalLayout = new QGridLayout(GSMSignalGroup);
    signalLayout->addWidget(GSMSigralLevel, 0, 0, 1, 2);
    signalLayout->addWidget(SpeedButton1, 0, 2, 2, 1, Qt::AlignCenter);
    signalLayout->addWidget(SignalProgress, 1, 0);
    signalLayout->addWidget(SignalValue, 1, 1);
    signalLayout->addWidget(GSMSignalErrors, 2, 0, 1, 2);
    signalLayout->addWidget(ErrorsProgress, 3, 0);
    signalLayout->addWidget(ErrorsValue, 3, 1);
    signalLayout->setColumnStretch(0, 1);

    auto* mainLayout = new QGridLayout(MainGroup);
    mainLayout->addWidget(ObjectGroup, 0, 0);
    mainLayout->addWidget(GSMSignalGroup, 1, 0);
    mainLayout->addWidget(DispGroup, 0, 1, 2, 1);
    mainLayout->setRowStretch(2, 1);
    mainLayout->setColumnStretch(2, 1);

    NameGroupBoxes(this);
    Balloon = new TBalloonHint(this);
    Balloon->SetShowTime(BalloonShowMs);

    connect(DispCheckBox, &QCheckBox::toggled, this, &TCommonFrame::DispCheckBoxClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TCommonFrame::SpeedButton1Click);
    DispCheckBoxClick(false);
}

void TCommonFrame::ShowPage() {
    Show(*fPage, fPage->ObjectNumber(), ObjNumEdit);
    Show(*fPage, fPage->Disp(), DispCheckBox);
    fShowTime = Show(*fPage, fPage->Time(), TimeCombo);
    connect(fPage, &TCommonPage::SignalRead, this, &TCommonFrame::ShowSignal);
}

void TCommonFrame::Init() {
    if (TimeCombo->count() == 0) {
        // Filling the list is no choice of the user's. Its 255 texts are
        // made when shown.
        const QSignalBlocker quiet(TimeCombo);
        TimeCombo->setModel(new TComputedListModel(DispTimeCount, &TCommonPage::TimeItemText, TimeCombo));
        fShowTime();
    }
    TPageFrame::Init();
}

QString TCommonFrame::BalloonTitle() {
    return QStringLiteral("Внимание!");
}

QString TCommonFrame::BalloonText() {
    return QStringLiteral("Для работы диспетчерской связи необходимо добавить\n"
                          "инженерные номера в память панели\n");
}

void TCommonFrame::DispCheckBoxClick(bool checked) {
    if (checked && Mode() == wmNull)
        ShowBalloon();
    InfoTimeText->setEnabled(checked);
    TimeCombo->setEnabled(checked);
}

void TCommonFrame::ShowBalloon() {
    // At the pointer, but not over the time list the click has just
    // enabled nor over its caption.
    const QString title = BalloonTitle();
    const QString text = BalloonText();
    const QRect list(TimeCombo->mapToGlobal(QPoint(0, 0)), TimeCombo->size());
    const QRect caption(InfoTimeText->mapToGlobal(QPoint(0, 0)), InfoTimeText->size());
    Balloon->ShowAt(title, text, QCursor::pos(), list.united(caption));
    emit BalloonShown(title, text);
}

void TCommonFrame::SpeedButton1Click() {
    fPage->ReadSignal();
}

void TCommonFrame::ShowSignal(const TSignalLevels& levels) {
    // An unknown level leaves its bar where it was.
    if (levels.Signal != SignalUnknown)
        SignalProgress->setValue(levels.Signal);
    SignalValue->setText(LevelText(levels.Signal, SignalLevelMax));
    if (levels.Errors != SignalUnknown)
        ErrorsProgress->setValue(levels.Errors);
    ErrorsValue->setText(LevelText(levels.Errors, ErrorLevelMax));
}
