#pragma once

#include "PageFrame.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

// The GPRS page: how the panel reaches the monitoring server over GPRS. The
// SIM card's packet-data access (with presets for four operators), the
// pause between connection attempts, the panel's identification password
// and a main and a reserve server.
class TGPRSFrame : public TPageFrame {
    Q_OBJECT
public:
    explicit TGPRSFrame(IPageHost& host, QWidget* parent = nullptr);

    // Starts with Beeline and its preset.
    void Init() override;
    // An empty reserve address or port takes the main one first.
    void WritePage() override;
    // The defaults end with the MTS preset.
    void SetDefault() override;
    // The loaded operator sets whether the SIM edits are read-only; its
    // preset is not applied.
    void SetSettings(const QStringList& List) override;

    // The operator preset; runs when the user picks an operator, and from
    // Init and SetDefault, never while the page talks to the panel.
    void OperatorsComboChange();

private:
    void BuildControls();
    void DescribeParams();
    void SetSimReadOnly(bool readOnly);
    void RecognizeOperatorOf(const QString& accessPoint);

    QGroupBox* GPRSGroup = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* OperatorsCombo = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* PhoneEdit = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* PointEdit = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* UserEdit = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* PWDEdit = nullptr;
    QGroupBox* InternetGroup = nullptr;
    QLabel* Label6 = nullptr;
    QComboBox* GPRSRepeatComboBox = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* PasswordEdit = nullptr;
    QLabel* Panel1 = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* IPEdit1 = nullptr;
    QLabel* Label9 = nullptr;
    QLineEdit* PortEdit1 = nullptr;
    QLabel* Panel2 = nullptr;
    QLabel* Label11 = nullptr;
    QLineEdit* IPEdit2 = nullptr;
    QLabel* Label10 = nullptr;
    QLineEdit* PortEdit2 = nullptr;

    TPageField* FIP1 = nullptr;
    TPageField* FPort1 = nullptr;
    TPageField* FIP2 = nullptr;
    TPageField* FPort2 = nullptr;
    TPageField* FPhone = nullptr;
    TPageField* FPoint = nullptr;
    TPageField* FUser = nullptr;
    TPageField* FUserPWD = nullptr;
};
