#pragma once

#include <QString>
#include <QStringList>

// Where the user's guide is looked for, in order: the installed copy, then
// the one in the source tree a developer's build came from.
QStringList GuideCandidates();
// The first of them that exists as a regular file; empty when none does.
QString GuideFile();

// The "О программе" text: the program, its version, its licence and the
// Qt it runs on.
QString AboutText();
