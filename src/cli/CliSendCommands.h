#pragma once

#include <QString>
#include <QStringList>

#include <span>

// The commands `send` takes from its arguments, checked before the port is
// opened.
//
// Each argument is one command: a CR or LF inside it would reach the panel
// as a second command nobody named (and any other control character has no
// business in a command line either), so such an argument is refused.
//
// A few commands cannot be taken back: they erase the panel's journal or
// its firmware, or put the panel into its boot loader, where it takes no
// settings until firmware is written. They go out only with --yes.
// A command's name is the letters after its "+"; the value follows them.
// A command counts as one of these when it begins with its name, in any
// letter case (the firmware commands' values are hexadecimal and may begin
// with letters themselves).
struct TDestructiveCommand {
    const char* Name;
    const char* Effect; // what it does to the panel, in words
};

// The list, in the order --help gives it.
std::span<const TDestructiveCommand> DestructiveCommands();

// The destructive command `command` is, or nullptr.
const TDestructiveCommand* DestructiveCommandOf(const QString& command);

// Why `commands` cannot be sent (`confirmed`: --yes was given); empty when
// they can. One line, with control characters shown escaped.
QString SendCommandsError(const QStringList& commands, bool confirmed);
