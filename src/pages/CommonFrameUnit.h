#pragma once

#include "CommonPage.h"
#include "PageFrame.h"

#include <QString>

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QToolButton;
class TBalloonHint;

// The Common page: the panel's object number, the dispatcher voice link
// (on/off and the connection time) and an on-demand reading of the GSM
// signal and error levels of the panel's modem. It shows a TCommonPage.
class TCommonFrame : public TPageFrame {
    Q_OBJECT
public:
    explicit TCommonFrame(IPageHost& host, QWidget* parent = nullptr);

    // Fills the time list, then the page's start values.
    void Init() override;

    TCommonPage& Page() const { return *fPage; }

    // The GSM signal reading (the button beside the signal bars).
    void SpeedButton1Click();

    TBalloonHint* BalloonHint() const { return Balloon; }
    static QString BalloonTitle();
    static QString BalloonText();
    static constexpr int BalloonShowMs = 5000;

signals:
    // The dispatcher warning has just been shown at the mouse pointer.
    void BalloonShown(const QString& title, const QString& text);

private:
    void BuildControls();
    void ShowPage();
    void DispCheckBoxClick(bool checked);
    void ShowSignal(const TSignalLevels& levels);
    void ShowBalloon();

    TCommonPage* fPage;
    std::function<void()> fShowTime;

    QGroupBox* MainGroup = nullptr;
    QGroupBox* ObjectGroup = nullptr;
    QLabel* ObjNumLabel = nullptr;
    QLineEdit* ObjNumEdit = nullptr;
    QGroupBox* DispGroup = nullptr;
    QCheckBox* DispCheckBox = nullptr;
    QLabel* InfoTimeText = nullptr;
    QComboBox* TimeCombo = nullptr;
    QGroupBox* GSMSignalGroup = nullptr;
    QLabel* GSMSigralLevel = nullptr;
    QProgressBar* SignalProgress = nullptr;
    QLabel* SignalValue = nullptr;
    QLabel* GSMSignalErrors = nullptr;
    QProgressBar* ErrorsProgress = nullptr;
    QLabel* ErrorsValue = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    TBalloonHint* Balloon = nullptr;
};
