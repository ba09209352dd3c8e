#pragma once

#include <QString>

// The workstation's user name, as the archive notes it beside a
// configuration: the login name of the process's user, else $USER, else the
// numeric user id.
QString ArchiveUserName();
