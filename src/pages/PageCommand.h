#pragma once

#include <QString>

// One write of a page as it goes to the panel: the whole command line and
// the name the error list shows when the panel does not take it. An empty
// line is a value the page cannot write: it sends nothing for it and lists
// the name as failed.
struct TPageCommand {
    QString Line;
    QString ErrorName;
    bool operator==(const TPageCommand&) const = default;
};
