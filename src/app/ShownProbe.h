#pragma once

#include <QObject>

// Tells when the window is first on screen: once the watched window has
// been painted the first time, prints the processor time used so far
// ("cpu-ms 95.3") and "shown" on standard output and quits the application. The start-up benchmark runs the tool with it
// (environment TARVIK1_QUIT_WHEN_SHOWN).
class TShownProbe : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool fShown = false;
};
