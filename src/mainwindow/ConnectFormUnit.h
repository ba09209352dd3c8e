#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QToolButton;
class TConnectSequence;
class TDevice;

// The connection dialog: the port, the programming cable or a GSM modem
// with the panel's telephone number, and Connect/Cancel. It is the view of
// a TConnectSequence, which does the talking; the dialog ends with
// QDialog::Accepted once the panel is identified.
class TConnectForm : public QDialog {
    Q_OBJECT
public:
    // Characters the port field shows at least.
    static constexpr int kPortFieldChars = 44;

    explicit TConnectForm(QWidget* parent = nullptr);
    ~TConnectForm() override;

    // Takes the device's data for the dialog; the port list is filled from
    // the system when it is empty.
    void SetDevice(TDevice* aDevice);
    void ResetDevice();

    void RefreshPortsButtonClick();
    void ConnectButtonClick();
    void CancelButtonClick();

    TConnectSequence& Sequence() { return *fSequence; }
    QString PortText() const;
    void SetConnectEnabled(bool enabled);

signals:
    void LogLine(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Failed(const QString& message, bool errorIcon);

    TDevice* FDevice = nullptr;
    TConnectSequence* fSequence;

    QLabel* PortLabel;
    QComboBox* PortCombo;
    QToolButton* RefreshPortsButton;
    QGroupBox* ParamGroup;
    QRadioButton* CableRadio;
    QRadioButton* GSMRadio;
    QLabel* PhoneLabel;
    QComboBox* PhoneCombo;
    QPushButton* ConnectButton;
    QPushButton* CancelButton;
};
