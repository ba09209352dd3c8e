#include "BusyForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TBusyForm::TBusyForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("BusyForm"));
    setWindowTitle(QStringLiteral("Tarvik-1"));
    TextLabel = new QLabel(this);
    TextLabel->setObjectName(QStringLiteral("TextLabel"));
    ElapsedLabel = new QLabel(this);
    ElapsedLabel->setObjectName(QStringLiteral("ElapsedLabel"));
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setAccessibleName(QStringLiteral("Ход выполнения"));
    CancelButton = new QPushButton(QStringLiteral("Отмена"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TextLabel);
    layout->addWidget(ProgressBar);
    layout->addWidget(ElapsedLabel);
    layout->addLayout(buttons);
    setMinimumWidth(340);

    fTick.setInterval(kTickMs);
    fTick.setTimerType(Qt::PreciseTimer);
    connect(&fTick, &QTimer::timeout, this, &TBusyForm::Tick);
    connect(CancelButton, &QPushButton::clicked, this, [this] {
        if (fCancelled)
            return;
        fCancelled = true;
        CancelButton->setEnabled(false);
        emit CancelPressed();
    });
}

void TBusyForm::Start(const QString& text, bool cancellable) {
    fCancelled = false;
    TextLabel->setText(text);
    CancelButton->setVisible(cancellable);
    CancelButton->setEnabled(true);
    SetProgress(0, 0);
    fElapsed.start();
    Tick();
    fTick.start();
    show();
}

void TBusyForm::SetText(const QString& text) {
    TextLabel->setText(text);
}

QString TBusyForm::Text() const {
    return TextLabel->text();
}

void TBusyForm::SetProgress(int value, int maximum) {
    ProgressBar->setVisible(maximum > 0);
    ProgressBar->setRange(0, std::max(maximum, 1));
    ProgressBar->setValue(std::clamp(value, 0, std::max(maximum, 1)));
}

void TBusyForm::Stop() {
    fTick.stop();
    hide();
}

QString TBusyForm::ElapsedText() const {
    return ElapsedLabel->text();
}

void TBusyForm::Tick() {
    // Rounded: a tick may come a little before its whole second.
    const int seconds = fElapsed.isValid() ? int((fElapsed.elapsed() + 500) / 1000) : 0;
    ElapsedLabel->setText(QStringLiteral("Прошло %1 с").arg(seconds));
    emit Ticked(seconds);
}

void TBusyForm::reject() {
    // Esc and the close box do what Cancel does, where there is a Cancel;
    // the indicator itself goes away only when the operation ends.
    if (CancelButton->isVisible())
        CancelButton->click();
}
