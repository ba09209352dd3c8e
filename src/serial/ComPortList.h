#pragma once

#include <QString>
#include <QStringList>

// The folder where running panel emulators announce their ports, one
// symlink per emulated panel: $XDG_RUNTIME_DIR/tarvik1/ports, or
// /tmp/tarvik1-<uid>/ports when that variable is unset.
QString AnnouncedPortsDir();

// A real folder (not a link) of this user that nobody else may write to.
bool IsPrivateFolder(const QString& path);

// The announced ports' folder when its links can be trusted: the runtime
// folder is the user's own; under `tmpRoot` (anyone may create names there)
// both tarvik1-<uid> and its ports folder must be private folders of this
// user, as the emulator makes them. Empty when they are not.
QString TrustedAnnouncedPortsDir(const QString& tmpRoot = QStringLiteral("/tmp"));

// The serial ports a user can pick: the system's serial devices that have
// hardware behind them (as /dev paths), plus the announced emulator ports
// (by the full path of their symlink; dangling links are left out), sorted
// case-insensitively. The folders can be given for tests; an empty
// announced folder adds nothing.
QStringList ListSerialPorts(const QString& sysClassTty = QStringLiteral("/sys/class/tty"),
                            const QString& devDir = QStringLiteral("/dev"),
                            const QString& announcedDir = TrustedAnnouncedPortsDir());
