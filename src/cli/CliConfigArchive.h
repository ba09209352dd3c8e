#pragma once

#include "archive/ConfigArchive.h"
#include "archive/PanelArchive.h"

#include <QStringList>

class QTextStream;
class TCliSession;
struct TCliArgs;

// The configurations read and write keep in the archive: the settings-file
// lines of the pages read from the panel or written to it, under the
// panel's object number. The archive is opened before the port (a file the
// archive cannot be is told, and nothing is sent); with --no-archive
// nothing is kept.
class TCliConfigArchive {
public:
    explicit TCliConfigArchive(const TCliArgs& args);

    // False, told on `err`, when the archive cannot be opened.
    bool Open(QTextStream& err);
    // Keeps the lines (their "Object" value names the panel; without it the
    // panel is asked with "+o"). False, told on `err`, when the archive did
    // not take them.
    bool Keep(TCliSession& session, const QStringList& lines, TConfigDirection direction, QTextStream& err);

private:
    TPanelArchive fArchive;
};
