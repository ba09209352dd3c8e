#pragma once

#include "panel/PanelExchange.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// One panel parameter of a page: its command, the name shown when it fails,
// how a read value reaches the page's control (false when the value cannot
// be used) and the value the page writes.
struct TParamSpec {
    QString Command;
    QString ErrorName;
    std::function<bool(const QString& value)> Show;
    std::function<QString()> Value;
    uint32_t TimeOut = ExchangeTimeout::Param;
};

// Reads every parameter in order: a failed exchange or an unusable value
// adds the parameter's name to `errors` and leaves its control alone.
void ReadParams(TPanelExchange& exchange, const std::vector<TParamSpec>& params, QStringList& errors);
// Writes every parameter in order ("command" followed by its value); an
// answer without "OK" adds the parameter's name to `errors`.
void WriteParams(TPanelExchange& exchange, const std::vector<TParamSpec>& params, QStringList& errors);
