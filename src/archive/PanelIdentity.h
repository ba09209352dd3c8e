#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class TPanelExchange;

// The connected panel's object number, the name the archive knows it by:
// the value of "+o" exactly as the panel gave it (at least four
// hexadecimal digits). Nothing when the read failed or the value has
// another form; `reason` then says which.
std::optional<QString> ReadObjectNumber(TPanelExchange& exchange, uint32_t timeOut,
                                        QString* reason = nullptr);
