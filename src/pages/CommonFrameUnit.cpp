#include "CommonFrameUnit.h"

#include "CommonCodec.h"
#include "SettingsLookup.h"
#include "panel/PairText.h"
#include "ParamTable.h"
#include "panel/PanelExchange.h"

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
#include <QStyle>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValidator>

namespace {

const QString ObjectError = QStringLiteral("Номер объекта");
const QString DispError = QStringLiteral("Параметры диспетчерской связи");
const QString SignalError = QStringLiteral("Уровень сигнала GSM");
const QString SignalImpossible = QStringLiteral("В данный момент чтение уровня сигнала GSM невозможно");
const QString DefaultObject = QStringLiteral("0050");

// Whatever reaches the object number from the keyboard, the clipboard or a
// drop: hexadecimal digits only, at most four. Texts the page puts there
// itself (a read, the settings file) are not checked.
class TObjNumValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return ObjNumTypedTextAllowed(input) ? Acceptable : Invalid;
    }
};

} // namespace

TCommonFrame::TCommonFrame(IPageHost& host, QWidget* parent) : TPageFrame(host, ptCommon, parent) {
    setObjectName(QStringLiteral("CommonFrame"));
    BuildControls();
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
    ObjNumLabel = named(new QLabel(QStringLiteral("Номер объекта:"), ObjectGroup), "ObjNumLabel");
    ObjNumEdit = named(new QLineEdit(DefaultObject, ObjectGroup), "ObjNumEdit");
    ObjNumEdit->setAlignment(Qt::AlignRight);
    ObjNumEdit->setValidator(new TObjNumValidator(ObjNumEdit));
    ObjNumEdit->installEventFilter(this);
    auto* objectLayout = new QHBoxLayout(ObjectGroup);
    objectLayout->addWidget(ObjNumLabel);
    objectLayout->addWidget(ObjNumEdit);

    DispGroup = named(new QGroupBox(QStringLiteral("Диспетчерская связь"), MainGroup), "DispGroup");
    DispCheckBox =
        named(new QCheckBox(QStringLiteral("Включить диспетчерскую связь"), DispGroup), "DispCheckBox");
    InfoTimeText = named(new QLabel(QStringLiteral("Время соединения при входящем\n"
                                                   "голосовом звонке с инженерного\n"
                                                   "номера"),
                                    DispGroup),
                         "InfoTimeText");
    InfoTimeText->setWordWrap(true);
    TimeCombo = named(new QComboBox(DispGroup), "TimeCombo");
    TimeCombo->setEditable(false);
    TimeCombo->setMaxVisibleItems(15);
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
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    SpeedButton1->setAutoRaise(true);
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

    connect(DispCheckBox, &QCheckBox::toggled, this, &TCommonFrame::DispCheckBoxClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TCommonFrame::SpeedButton1Click);
    DispCheckBoxClick(false);
}

void TCommonFrame::Init() {
    if (TimeCombo->count() == 0) {
        TimeCombo->addItem(QStringLiteral("Неограничено"));
        for (int n = 1; n < DispTimeCount; ++n)
            TimeCombo->addItem(QStringLiteral("%1 мин.").arg(n));
    }
    TimeCombo->setCurrentIndex(0);
}

QString TCommonFrame::BalloonTitle() {
    return QStringLiteral("Внимание!");
}

QString TCommonFrame::BalloonText() {
    return QStringLiteral("Для работы диспетчерской связи необходимо добавить\n"
                          "инженерные номера в память панели\n");
}

bool TCommonFrame::eventFilter(QObject* watched, QEvent* event) {
    // The key filter of the object number: printable characters other than
    // hexadecimal digits never reach the edit box. Editing and clipboard
    // keys pass; what they insert is checked by the validator.
    if (watched == ObjNumEdit && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        for (const QChar c : text) {
            if (c.unicode() >= 0x20 && c.unicode() != 0x7F && !ObjNumKeyAllowed(c))
                return true;
        }
    }
    return TPageFrame::eventFilter(watched, event);
}

void TCommonFrame::DispCheckBoxClick(bool checked) {
    if (checked && FMode == wmNull)
        ShowBalloon();
    InfoTimeText->setEnabled(checked);
    TimeCombo->setEnabled(checked);
}

void TCommonFrame::ShowBalloon() {
    const QString title = BalloonTitle();
    const QString text = BalloonText();
    const QString html = QStringLiteral("<b>%1</b><br>%2")
                             .arg(title.toHtmlEscaped(),
                                  text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")));
    QToolTip::showText(QCursor::pos(), html, this, QRect(), BalloonShowMs);
    emit BalloonShown(title, text);
}

void TCommonFrame::SetObjNumText(const QString& text) {
    // The page's own texts bypass the typing rule: a longer number from the
    // panel or a file stays whole instead of being cut to four characters.
    const QValidator* validator = ObjNumEdit->validator();
    ObjNumEdit->setValidator(nullptr);
    ObjNumEdit->setText(text);
    ObjNumEdit->setValidator(validator);
}

bool TCommonFrame::ShowObjectNumber(const QString& value) {
    // An answer of a lone "OK" carries no number.
    if (value == QLatin1String("OK"))
        return false;
    SetObjNumText(value);
    return true;
}

bool TCommonFrame::ShowDispValue(const QString& value) {
    const std::optional<TDispValue> disp = DecodeDispValue(value);
    if (!disp)
        return false;
    TimeCombo->setCurrentIndex(disp->TimeIndex);
    DispCheckBox->setChecked(disp->On);
    return true;
}

void TCommonFrame::ReadPage() {
    RunOperation(wmRead, [this](QStringList& errors) {
        const std::vector<TParamSpec> params{
            {QStringLiteral("+o"), ObjectError, [this](const QString& v) { return ShowObjectNumber(v); }, {}},
            {QStringLiteral("+disp"), DispError, [this](const QString& v) { return ShowDispValue(v); }, {}},
        };
        ReadParams(fHost.Exchange(), params, errors);
    });
}

void TCommonFrame::WritePage() {
    RunOperation(wmWrite, [this](QStringList& errors) {
        SetObjNumText(ObjectNumberForWrite(ObjNumEdit->text()));
        const std::optional<QString> disp =
            EncodeDispValue(DispCheckBox->isChecked(), TimeCombo->currentIndex());
        std::vector<TParamSpec> params{
            {QStringLiteral("+o"), ObjectError, {}, [this] { return ObjNumEdit->text(); }},
        };
        if (disp)
            params.push_back({QStringLiteral("+disp"), DispError, {}, [&disp] { return *disp; }});
        WriteParams(fHost.Exchange(), params, errors);
        // Without a time to send, the dispatcher link is not written at all.
        if (!disp)
            errors.append(DispError);
    });
}

void TCommonFrame::SetDefault() {
    SetObjNumText(DefaultObject);
    DispCheckBox->setChecked(false);
    TimeCombo->setCurrentIndex(0);
}

void TCommonFrame::SpeedButton1Click() {
    // The button stays live while this page waits for the panel; a second
    // exchange must not start inside the first.
    if (FMode != wmNull)
        return;
    if (!fHost.isConnected()) {
        fHost.ShowMessage(SignalImpossible);
        return;
    }
    fHost.DisableControls();
    bool failed = false;
    RunOperation(wmRead, [this, &failed](QStringList& errors) {
        TPanelExchange& exchange = fHost.Exchange();
        exchange.SetUparam(true);
        try {
            ReadSignal(errors);
        } catch (...) {
            failed = true;
        }
        exchange.SetUparam(false);
    });
    fHost.EnableControls();
    if (failed)
        fHost.ShowMessage(SignalImpossible);
}

void TCommonFrame::ReadSignal(QStringList& errors) {
    QString value;
    if (!fHost.Exchange().DeviceCommand(QStringLiteral("+U"), value, ExchangeTimeout::Signal)) {
        errors.append(SignalError);
        return;
    }
    const std::optional<TSignalLevels> levels = DecodeSignalValue(value);
    if (!levels) {
        errors.append(SignalError);
        return;
    }
    if (levels->Signal != SignalUnknown)
        SignalProgress->setValue(levels->Signal);
    SignalValue->setText(LevelText(levels->Signal, SignalLevelMax));
    if (levels->Errors != SignalUnknown)
        ErrorsProgress->setValue(levels->Errors);
    ErrorsValue->setText(LevelText(levels->Errors, ErrorLevelMax));
}

void TCommonFrame::GetSettings(QStringList& List) {
    List.clear();
    List.append(QStringLiteral("Object=") + ObjNumEdit->text());
    List.append(QStringLiteral("Disp=%1").arg(DispCheckBox->isChecked() ? 1 : 0));
    List.append(QStringLiteral("Time=%1").arg(TimeCombo->currentIndex()));
}

void TCommonFrame::SetSettings(const QStringList& List) {
    // Every number is checked before anything is taken, so that a file the
    // page cannot use leaves it on its defaults (the object number too)
    // without a passing state on the way.
    int disp = 0;
    int time = 0;
    const bool usable = SettingsInt(List, QStringLiteral("Disp"), disp) && (disp == 0 || disp == 1) &&
                        SettingsInt(List, QStringLiteral("Time"), time) && time >= 0 && time < DispTimeCount;
    if (!usable) {
        SetDefault();
        return;
    }
    SetObjNumText(SettingsValue(List, QStringLiteral("Object")));
    TimeCombo->setCurrentIndex(time);
    DispCheckBox->setChecked(disp == 1);
}
