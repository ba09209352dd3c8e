#pragma once

#include <QFrame>
#include <QTimer>

class QLabel;

// A warning balloon: a bold title over a text of one or two lines, shown
// near the mouse pointer without taking the focus, kept clear of the
// controls it warns about, and gone after a fixed time whatever the pointer
// does meanwhile.
class TBalloonHint : public QFrame {
    Q_OBJECT
public:
    explicit TBalloonHint(QWidget* parent);

    // Shows the balloon above `pointer` (global coordinates), moved so that
    // it covers nothing of `keepClear` (global too), within the screen.
    void ShowAt(const QString& title, const QString& text, QPoint pointer, QRect keepClear);
    void SetShowTime(int ms) { fHide.setInterval(ms); }
    int ShowTime() const { return fHide.interval(); }
    QString Title() const;
    QString Text() const;

private:
    QLabel* fTitle;
    QLabel* fText;
    QTimer fHide;
};
