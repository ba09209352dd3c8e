#pragma once

#include <QString>
#include <QtGlobal>

// The progress of a journal read as the progress window and the command
// line say it: "Прочитано 300 из 1000 записей, осталось 1 мин 05 с" (the
// time left in whole seconds rounded up; "1 ч 02 мин" from an hour on);
// without the time left while it is not known (msLeft below 0).
QString JournalProgressText(int done, int total, qint64 msLeft);
