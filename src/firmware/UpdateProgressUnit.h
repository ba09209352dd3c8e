#pragma once

#include "UploadStep.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QMessageBox;
class QProgressBar;
class QPushButton;
class TUploadFirmware;

// The upload's progress window: caption "Обновление", above every other
// window, not closable by the user (the caller that shows it frees it). It
// shows the step in words, the percent written and the time left, and only
// follows the engine's signals. "Отмена" warns that the panel will stay in
// its boot loader and, when the installer insists, asks the engine to stop
// before its next block. The main window asks the same when it is closed
// during the upload (AskToStop).
class TFormUpdateProgress : public QDialog {
    Q_OBJECT
public:
    explicit TFormUpdateProgress(TUploadFirmware& engine, QWidget* parent = nullptr);

    // The bar from 0 to Max, at Position.
    void UpdateProgress(int Max, int Position);

    // Whether the upload can still be asked to stop before a block: it runs,
    // has not been asked yet and has blocks left.
    bool CanStop() const;
    // Asks the installer what Cancel asks, without a nested loop (the upload
    // goes on meanwhile); StopAnswered tells the answer. Nothing new when
    // the question is open already. False when there is nothing to stop.
    bool AskToStop();

    QLabel* StepLabel;
    QProgressBar* ProgressBar;
    QLabel* TimeLeftLabel;
    QPushButton* CancelButton;

signals:
    // The installer answered the question: stop (the engine has been asked
    // to) or go on. A question the upload's end took away counts as go on.
    void StopAnswered(bool stop);

protected:
    // FormClose: the user cannot close the window.
    void closeEvent(QCloseEvent* event) override;
    // Esc does not close it either.
    void reject() override;
    void showEvent(QShowEvent* event) override;

private:
    void StepChanged(TUploadStep step, int block, int blocks);
    void ProgressChanged(int percent, qint64 msLeft);
    void Finished();
    void CancelButtonClick();

    TUploadFirmware& fEngine;
    QPointer<QMessageBox> fWarning;
};
