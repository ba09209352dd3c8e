#pragma once

#include "GPRSPage.h"
#include "PageFrame.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

// The GPRS page: how the panel reaches the monitoring server over GPRS. The
// SIM card's packet-data access (with presets for four operators), the
// pause between connection attempts, the panel's identification password
// and a main and a reserve server. It shows a TGPRSPage; the SIM edits are
// read-only while the page's operator preset locks them.
class TGPRSFrame : public TPageFrame {
    Q_OBJECT
public:
    explicit TGPRSFrame(IPageHost& host, QWidget* parent = nullptr);

    TGPRSPage& Page() const { return *fPage; }

private:
    void BuildControls();
    void ShowPage();
    void SetSimReadOnly(bool readOnly);

    TGPRSPage* fPage;

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
};
