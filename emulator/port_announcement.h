#pragma once

#include <QString>

namespace emu {

// Publishes the emulator's pseudo-terminal as a symbolic link, where the
// tool's port list looks for it: in the per-user ports folder
// ($XDG_RUNTIME_DIR/tarvik1/ports, else /tmp/tarvik1-<uid>/ports) under the
// first free name panel-1, panel-2, ..., or at a path of the caller's choice.
// The link is removed again when the announcement ends (if it still points
// to the same device).
class PortAnnouncement {
public:
    PortAnnouncement() = default;
    ~PortAnnouncement();
    PortAnnouncement(const PortAnnouncement&) = delete;
    PortAnnouncement& operator=(const PortAnnouncement&) = delete;

    static QString portsFolder();

    // A link named <stem>-N in the ports folder, N the first free number from 1.
    // A dangling link left by an emulator that died is taken over.
    bool announce(const QString& target, const QString& stem, QString* error);
    // A link at `linkPath`; an existing dangling link there is replaced, any
    // other existing file is refused.
    bool announceAt(const QString& linkPath, const QString& target, QString* error);
    QString linkPath() const { return fLink; }
    void withdraw();

private:
    QString fLink;
    QString fTarget;
};

} // namespace emu
