#pragma once

#include "PageHost.h"
#include "StringConsts.h"

#include <QStringList>

#include <functional>

// One page operation: the host's operation state for `mode` (Reading for
// wmRead, Writing for wmWrite) and the page's own mode (`pageMode`) are held
// while `body` runs and collects the names of the parameters that failed,
// and while `report` then gets them (whether or not there are any).
// Refused, with nothing done, while the page is busy with another operation
// (the window's message loop runs while the panel is awaited, and a button
// of the page may be pressed) or when the host refuses the state. Returns
// whether `body` ran.
bool RunPageOperation(IPageHost& host, TWorkMode& pageMode, TWorkMode mode,
                      const std::function<void(QStringList& errors)>& body,
                      const std::function<void(const QStringList& errors)>& report);
