#pragma once

#include <QString>

#include <functional>

class QTextStream;
struct TCliArgs;

// tarvik1-cli archive: the archive without a panel.
//   archive list                     the panels, one a line
//   archive list OBJECT              the panel's journal runs and configurations
//   archive journal OBJECT --out F   one run of the journal (the newest, or --run N)
//                                    as the journal's sheet (.xlsx, .csv or "-")
//   archive config OBJECT --out F    a configuration (the newest, or --at N) as a
//                                    settings file (or "-")
//   archive remove OBJECT --yes      the panel and everything kept of it
// Returns ceOk, ceUsage (through `usage`), ceArchiveFailed, ceNotInArchive,
// ceOutputFailed (the sheet) or ceSettingsFileFailed (the settings file).
int RunArchiveCommand(const TCliArgs& args, QTextStream& out, QTextStream& err,
                      const std::function<int(const QString&)>& usage);
