#pragma once

#include <QString>

// Messages about the link that the window and the command line both show.

// The open port went away (an adapter unplugged, the far end of a
// pseudo-terminal closed).
QString LineLostMessage(const QString& port);
