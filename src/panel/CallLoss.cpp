#include "CallLoss.h"

bool CallLostBy(const QString& line, bool modem, const TOwedAnswers::TFate& fate) {
    if (!modem || line != QLatin1String("NO CARRIER"))
        return false;
    if (!fate.Owed)
        return true;
    return !fate.Command.startsWith("ATD") && fate.Command != "ATH";
}
