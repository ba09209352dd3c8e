#include "ParamTable.h"

void ReadParams(TPanelExchange& exchange, const std::vector<TParamSpec>& params, QStringList& errors) {
    for (const TParamSpec& p : params) {
        QString value;
        if (!exchange.DeviceCommand(p.Command, value, p.TimeOut) || !p.Show(value))
            errors.append(p.ErrorName);
    }
}

void WriteParams(TPanelExchange& exchange, const std::vector<TParamSpec>& params, QStringList& errors) {
    for (const TParamSpec& p : params)
        exchange.SendParamToDevice(p.Command + p.Value(), errors, p.ErrorName, QStringLiteral("OK"),
                                   p.TimeOut);
}
