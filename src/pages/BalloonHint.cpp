#include "BalloonHint.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

TBalloonHint::TBalloonHint(QWidget* parent) : QFrame(parent, Qt::ToolTip | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("BalloonHint"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFrameShape(QFrame::Box);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    fTitle = new QLabel(this);
    QFont bold = fTitle->font();
    bold.setBold(true);
    fTitle->setFont(bold);
    fText = new QLabel(this);
    fText->setWordWrap(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->addWidget(fTitle);
    layout->addWidget(fText);
    fHide.setSingleShot(true);
    connect(&fHide, &QTimer::timeout, this, &QWidget::hide);
}

QString TBalloonHint::Title() const {
    return fTitle->text();
}

QString TBalloonHint::Text() const {
    return fText->text();
}

void TBalloonHint::ShowAt(const QString& title, const QString& text, QPoint pointer, QRect keepClear) {
    fTitle->setText(title);
    // The lines as given (no wrapping of our own), without a trailing break.
    QString lines = text;
    while (lines.endsWith(QLatin1Char('\n')))
        lines.chop(1);
    fText->setText(lines);
    adjustSize();

    const int gap = 4;
    QRect r(QPoint(pointer.x(), pointer.y() - height() - gap), size());
    if (r.intersects(keepClear))
        r.moveBottom(keepClear.top() - gap);
    const QScreen* screen = QGuiApplication::screenAt(pointer);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        if (r.right() > area.right())
            r.moveRight(area.right());
        if (r.left() < area.left())
            r.moveLeft(area.left());
        // No room above: below what must stay clear.
        if (r.top() < area.top())
            r.moveTop(std::max(keepClear.bottom(), pointer.y()) + gap);
    }
    move(r.topLeft());
    show();
    raise();
    fHide.start();
}
