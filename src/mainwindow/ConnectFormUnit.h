#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QToolButton;
class TConnectSequence;
class TPanelSession;

// The connection dialog: the port, the programming cable or a GSM modem
// with the panel's telephone number, and Connect/Cancel. It asks the panel
// session to connect and shows what the session says; the dialog ends with
// QDialog::Accepted once the session has a panel.
class TConnectForm : public QDialog {
    Q_OBJECT
public:
    // Characters the port field shows at least.
    static constexpr int kPortFieldChars = 44;

    explicit TConnectForm(QWidget* parent = nullptr);
    ~TConnectForm() override;

    // The session that connects; the port list is filled from the system
    // when it is empty.
    void SetSession(TPanelSession* session);

    void RefreshPortsButtonClick();
    void ConnectButtonClick();
    void CancelButtonClick();

    // The session's connection sequence.
    TConnectSequence& Sequence() const;
    QString PortText() const;
    void SetConnectEnabled(bool enabled);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Failed(const QString& message, bool errorIcon);

    TPanelSession* fSession = nullptr;

    QLabel* PortLabel;
    QComboBox* PortCombo;
    QToolButton* RefreshPortsButton;
    QGroupBox* ParamGroup;
    QRadioButton* CableRadio;
    QRadioButton* GSMRadio;
    QLabel* PhoneLabel;
    QComboBox* PhoneCombo;
    QPushButton* ConnectButton;
    QLabel* StepLabel = nullptr;
    QPushButton* CancelButton;
};
