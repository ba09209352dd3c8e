#pragma once

#include <QString>

#include <optional>

// One value a page's write sends to the panel: the command that writes it,
// the value after the command (none: the page has nothing it could send,
// and the write lists the parameter as failed), and what the value is
// called where a user reads it.
struct TPanelValue {
    QString Command;
    std::optional<QString> Value;
    QString Caption;
    bool operator==(const TPanelValue&) const = default;
};
