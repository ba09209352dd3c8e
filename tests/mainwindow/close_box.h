#pragma once

// The close box of a top-level window, pressed as the window system presses
// it. Qt drops the window system's close request while a modal window
// blocks the window (the box then does nothing at all); otherwise the
// request reaches the window as QWindow::close() delivers it. Qt tells a
// window when a modal window starts and stops blocking it, and the box
// follows that, so a test sees what the installer's click would do.
#include <QEvent>
#include <QObject>
#include <QWidget>
#include <QWindow>

class CloseBox : public QObject {
public:
    // Made before anything modal may show over `window`.
    explicit CloseBox(QWidget& window) : fWindow(window) { window.installEventFilter(this); }

    // True when the request reached the window.
    bool press() {
        if (fBlocked)
            return false;
        fWindow.windowHandle()->close();
        return true;
    }
    bool blocked() const { return fBlocked; }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::WindowBlocked)
            fBlocked = true;
        else if (e->type() == QEvent::WindowUnblocked)
            fBlocked = false;
        return false;
    }

private:
    QWidget& fWindow;
    bool fBlocked = false;
};
