#pragma once

#include <QString>
#include <QStringList>

// The folder where running panel emulators announce their ports, one
// symlink per emulated panel: $XDG_RUNTIME_DIR/tarvik1/ports, or
// /tmp/tarvik1-<uid>/ports when that variable is unset.
QString AnnouncedPortsDir();

// The serial ports a user can pick: the system's serial devices that have
// hardware behind them (as /dev paths), plus the announced emulator ports
// (by the full path of their symlink; dangling links are left out), sorted
// case-insensitively. The folders can be given for tests.
QStringList ListSerialPorts(const QString& sysClassTty = QStringLiteral("/sys/class/tty"),
                            const QString& devDir = QStringLiteral("/dev"),
                            const QString& announcedDir = AnnouncedPortsDir());
