#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;

// The busy indicator of a long operation: what the tool waits for, the
// seconds gone by, a progress bar once there is a maximum, and Cancel when
// the operation can be broken off. It blocks nothing: the window's
// operation state has already disabled whatever could start another
// operation, and a modal indicator would also block the main window's close
// box, which is to break the operation off. Its clock is a timer, so it
// keeps counting while the exchange waits for the panel.
class TBusyForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTickMs = 1000;

    explicit TBusyForm(QWidget* parent = nullptr);

    // Shows the indicator afresh.
    void Start(const QString& text, bool cancellable);
    // Another text, the clock going on.
    void SetText(const QString& text);
    QString Text() const;
    // Maximum 0: no progress bar, only the seconds.
    void SetProgress(int value, int maximum);
    void Stop();
    bool Cancelled() const { return fCancelled; }

    // Tests count the ticks with a shorter interval.
    void SetTickInterval(int ms) { fTick.setInterval(ms); }
    QString ElapsedText() const;

signals:
    void CancelPressed();
    // The seconds shown were brought up to date.
    void Ticked(int seconds);

protected:
    void reject() override;

private:
    void Tick();

    QLabel* TextLabel;
    QLabel* ElapsedLabel;
    QProgressBar* ProgressBar;
    QPushButton* CancelButton;
    QTimer fTick;
    QElapsedTimer fElapsed;
    bool fCancelled = false;
};
