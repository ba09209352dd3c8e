#include "ConnectFormUnit.h"

#include "MessageBoxes.h"
#include "pages/DrawnIcon.h"
#include "panel/ConnectSequence.h"
#include "panel/PanelSession.h"
#include "prefs/ComponentKind.h"
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

TConnectForm::TConnectForm(QWidget* parent) : QDialog(parent) {
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
    RefreshPortsButton->setIcon(ReloadIcon());
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

    // The connection's step in words, while it runs.
    StepLabel = new QLabel(this);
    StepLabel->setObjectName(QStringLiteral("StepLabel"));
    StepLabel->setWordWrap(true);
    // What it says belongs to one attempt, not to the stored window state.
    StepLabel->setProperty(kNotStoredProperty, true);

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
    layout->addWidget(StepLabel);
    layout->addStretch(1);
    layout->addLayout(buttons);
    StepLabel->setMinimumWidth(StepLabel->fontMetrics().horizontalAdvance(
        QStringLiteral("Ожидание регистрации в сети (99)…")));
    resize(sizeHint().expandedTo(QSize(216, 191)));
    setFixedSize(size());

    connect(RefreshPortsButton, &QToolButton::clicked, this, &TConnectForm::RefreshPortsButtonClick);
    connect(ConnectButton, &QPushButton::clicked, this, &TConnectForm::ConnectButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TConnectForm::CancelButtonClick);
}

TConnectForm::~TConnectForm() = default;

void TConnectForm::SetSession(TPanelSession* session) {
    fSession = session;
    connect(session, &TPanelSession::ConnectEnabled, this, &TConnectForm::SetConnectEnabled);
    connect(session, &TPanelSession::ConnectFailed, this, &TConnectForm::Failed);
    connect(session, &TPanelSession::ConnectStep, this, [this](const QString& text) {
        StepLabel->setText(text);
        StepLabel->setAccessibleName(text);
    });
    connect(session, &TPanelSession::Connected, this, &QDialog::accept);
    // Lost in the moment the panel was identified: there is no connection
    // to try again on; the session has told the loss.
    connect(session, &TPanelSession::Lost, this, &QDialog::reject);
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

TConnectSequence& TConnectForm::Sequence() const {
    return fSession->Sequence();
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
    if (fSession)
        fSession->Connect(
            {PortCombo->currentText().trimmed(), GSMRadio->isChecked(), PhoneCombo->currentText()});
}

void TConnectForm::CancelButtonClick() {
    // A connection under way is stopped and the dialog stays, for another
    // port or number; with none under way Отмена closes the dialog.
    if (fSession && fSession->Sequence().Running()) {
        fSession->CancelConnect();
        StepLabel->setText(QStringLiteral("Подключение отменено"));
        return;
    }
    reject();
}

void TConnectForm::Failed(const QString& message, bool errorIcon) {
    StepLabel->clear();
    ShowMessageBox(this, errorIcon ? TBoxKind::Error : TBoxKind::Plain, message);
}

void TConnectForm::keyPressEvent(QKeyEvent* event) {
    // Esc presses Cancel: it stops a connection under way, or closes the
    // dialog.
    if (event->key() == Qt::Key_Escape) {
        CancelButtonClick();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
