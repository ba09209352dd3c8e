#include "ConnectFormUnit.h"

#include "MessageBoxes.h"
#include "panel/ConnectSequence.h"
#include "serial/ComPortList.h"
#include "serial/Device.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

TConnectForm::TConnectForm(QWidget* parent) : QDialog(parent), fSequence(new TConnectSequence(this)) {
    setObjectName(QStringLiteral("ConnectForm"));
    setWindowTitle(QStringLiteral("Подключение"));

    PortLabel = new QLabel(QStringLiteral("Порт:"), this);
    PortLabel->setObjectName(QStringLiteral("PortLabel"));
    // Editable: a pseudo-terminal or an unusual adapter can be typed in.
    PortCombo = new QComboBox(this);
    PortCombo->setObjectName(QStringLiteral("PortCombo"));
    PortCombo->setEditable(true);
    PortCombo->setInsertPolicy(QComboBox::NoInsert);
    // Wide enough for an emulator's port under the runtime folder, so that
    // the folder of a path can be seen.
    PortCombo->setMinimumContentsLength(kPortFieldChars);
    PortCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    PortLabel->setBuddy(PortCombo);
    RefreshPortsButton = new QToolButton(this);
    RefreshPortsButton->setObjectName(QStringLiteral("RefreshPortsButton"));
    RefreshPortsButton->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    RefreshPortsButton->setToolTip(QStringLiteral("Обновить список портов"));
    RefreshPortsButton->setAccessibleName(RefreshPortsButton->toolTip());

    ParamGroup = new QGroupBox(QStringLiteral("Тип и параметры подключения"), this);
    ParamGroup->setObjectName(QStringLiteral("ParamGroup"));
    CableRadio = new QRadioButton(QStringLiteral("Кабель програмирования"), ParamGroup);
    CableRadio->setObjectName(QStringLiteral("CableRadio"));
    CableRadio->setChecked(true);
    GSMRadio = new QRadioButton(QStringLiteral("GSM-модем"), ParamGroup);
    GSMRadio->setObjectName(QStringLiteral("GSMRadio"));
    PhoneLabel = new QLabel(QStringLiteral("Номер телефона:"), ParamGroup);
    PhoneLabel->setObjectName(QStringLiteral("PhoneLabel"));
    PhoneCombo = new QComboBox(ParamGroup);
    PhoneCombo->setObjectName(QStringLiteral("PhoneCombo"));
    PhoneCombo->setEditable(true);
    PhoneCombo->setInsertPolicy(QComboBox::NoInsert);
    PhoneLabel->setBuddy(PhoneCombo);
    ParamGroup->setAccessibleName(ParamGroup->title());

    ConnectButton = new QPushButton(QStringLiteral("Подключить"), this);
    ConnectButton->setObjectName(QStringLiteral("ConnectButton"));
    ConnectButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Отмена"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto* portRow = new QHBoxLayout;
    portRow->addWidget(PortCombo, 1);
    portRow->addWidget(RefreshPortsButton);
    auto* group = new QVBoxLayout(ParamGroup);
    group->addWidget(CableRadio);
    group->addWidget(GSMRadio);
    group->addWidget(PhoneLabel);
    group->addWidget(PhoneCombo);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ConnectButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PortLabel);
    layout->addLayout(portRow);
    layout->addWidget(ParamGroup);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(sizeHint().expandedTo(QSize(216, 191)));
    setFixedSize(size());

    connect(RefreshPortsButton, &QToolButton::clicked, this, &TConnectForm::RefreshPortsButtonClick);
    connect(ConnectButton, &QPushButton::clicked, this, &TConnectForm::ConnectButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TConnectForm::CancelButtonClick);
    connect(fSequence, &TConnectSequence::LogLine, this, &TConnectForm::LogLine);
    connect(fSequence, &TConnectSequence::ConnectEnabled, this, &TConnectForm::SetConnectEnabled);
    connect(fSequence, &TConnectSequence::Succeeded, this, &QDialog::accept);
    connect(fSequence, &TConnectSequence::Failed, this, &TConnectForm::Failed);
}

TConnectForm::~TConnectForm() {
    ResetDevice();
}

void TConnectForm::SetDevice(TDevice* aDevice) {
    FDevice = aDevice;
    fSequence->SetDevice(aDevice);
    if (PortCombo->count() == 0) {
        RefreshPortsButtonClick();
        // With nothing chosen before, a running panel emulator is the panel
        // the user has in mind.
        const QString announced = AnnouncedPortsDir() + QLatin1Char('/');
        for (int i = 0; i < PortCombo->count(); ++i) {
            if (PortCombo->itemText(i).startsWith(announced)) {
                PortCombo->setCurrentIndex(i);
                break;
            }
        }
    }
}

void TConnectForm::ResetDevice() {
    fSequence->ResetDevice();
}

void TConnectForm::RefreshPortsButtonClick() {
    const QString typed = PortCombo->currentText();
    PortCombo->clear();
    PortCombo->addItems(TDevice::GetCOMsList());
    if (!typed.isEmpty())
        PortCombo->setCurrentText(typed);
}

QString TConnectForm::PortText() const {
    return PortCombo->currentText();
}

void TConnectForm::SetConnectEnabled(bool enabled) {
    ConnectButton->setEnabled(enabled);
}

void TConnectForm::ConnectButtonClick() {
    fSequence->Connect(PortCombo->currentText().trimmed(), GSMRadio->isChecked(), PhoneCombo->currentText());
}

void TConnectForm::CancelButtonClick() {
    fSequence->Cancel();
}

void TConnectForm::Failed(const QString& message, bool errorIcon) {
    ShowMessageBox(this, errorIcon ? TBoxKind::Error : TBoxKind::Plain, message);
}

void TConnectForm::keyPressEvent(QKeyEvent* event) {
    // Esc presses Cancel; the dialog itself is closed with its close box.
    if (event->key() == Qt::Key_Escape) {
        CancelButtonClick();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
