#include "UpdateProgressUnit.h"

#include "UploadFirmware.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TFormUpdateProgress::TFormUpdateProgress(TUploadFirmware& engine, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      fEngine(engine) {
    setObjectName(QStringLiteral("FormUpdateProgress"));
    setWindowTitle(QStringLiteral("Обновление"));
    setModal(false);

    StepLabel = new QLabel(this);
    StepLabel->setObjectName(QStringLiteral("StepLabel"));
    StepLabel->setAccessibleName(QStringLiteral("Шаг"));
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setAccessibleName(QStringLiteral("Записано"));
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setFormat(QStringLiteral("%p %"));
    TimeLeftLabel = new QLabel(this);
    TimeLeftLabel->setObjectName(QStringLiteral("TimeLeftLabel"));
    TimeLeftLabel->setAccessibleName(QStringLiteral("Осталось времени"));
    CancelButton = new QPushButton(QStringLiteral("Отмена"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAutoDefault(false);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(TimeLeftLabel, 1);
    bottom->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StepLabel);
    layout->addWidget(ProgressBar);
    layout->addLayout(bottom);
    setMinimumWidth(342);

    connect(&fEngine, &TUploadFirmware::StepChanged, this, &TFormUpdateProgress::StepChanged);
    connect(&fEngine, &TUploadFirmware::ProgressChanged, this, &TFormUpdateProgress::ProgressChanged);
    connect(&fEngine, &TUploadFirmware::Finished, this, &TFormUpdateProgress::Finished);
    connect(CancelButton, &QPushButton::clicked, this, &TFormUpdateProgress::CancelButtonClick);
}

void TFormUpdateProgress::UpdateProgress(int Max, int Position) {
    ProgressBar->setRange(0, Max);
    ProgressBar->setValue(Position);
}

void TFormUpdateProgress::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void TFormUpdateProgress::reject() {}

void TFormUpdateProgress::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFormUpdateProgress::StepChanged(TUploadStep step, int block, int blocks) {
    StepLabel->setText(UploadStepText(step, block, blocks));
    // Once the blocks are written there is nothing left to stop between.
    if (step == TUploadStep::FinalCheck) {
        CancelButton->setEnabled(false);
        if (fWarning)
            fWarning->reject();
    }
}

void TFormUpdateProgress::ProgressChanged(int percent, qint64 msLeft) {
    UpdateProgress(100, percent);
    const QString left = TimeLeftText(msLeft);
    TimeLeftLabel->setText(left.isEmpty() ? QString() : QStringLiteral("Осталось: %1").arg(left));
}

void TFormUpdateProgress::Finished() {
    CancelButton->setEnabled(false);
    if (fWarning)
        fWarning->reject();
}

void TFormUpdateProgress::CancelButtonClick() {
    AskToStop();
}

bool TFormUpdateProgress::CanStop() const {
    return fEngine.Running() && !fEngine.CancelRequested() && CancelButton->isEnabled();
}

bool TFormUpdateProgress::AskToStop() {
    if (fWarning)
        return true;
    if (!CanStop())
        return false;
    // Asked without a nested loop: the upload goes on while the installer
    // thinks it over.
    fWarning = new QMessageBox(
        QMessageBox::Warning, QStringLiteral("Обновление"),
        QStringLiteral("Прервать обновление прошивки?\n%1").arg(QString::fromUtf16(kRecoveryAdvice)),
        QMessageBox::Yes | QMessageBox::No, this);
    fWarning->setObjectName(QStringLiteral("CancelWarning"));
    fWarning->button(QMessageBox::Yes)->setText(QStringLiteral("Прервать"));
    fWarning->button(QMessageBox::No)->setText(QStringLiteral("Продолжить"));
    fWarning->setDefaultButton(QMessageBox::No);
    fWarning->setAttribute(Qt::WA_DeleteOnClose);
    connect(fWarning, &QMessageBox::finished, this, [this](int result) {
        const bool stop = result == QMessageBox::Yes && fEngine.Running();
        if (stop) {
            fEngine.Cancel();
            CancelButton->setEnabled(false);
            StepLabel->setText(StepLabel->text() + QStringLiteral(" — остановка после этого блока"));
        }
        emit StopAnswered(stop);
    });
    fWarning->open();
    return true;
}
