#pragma once

#include "OwedAnswers.h"

#include <QString>

// On a modem link, whether a received line tells that the call to the panel
// is gone: "NO CARRIER" that nobody asked for, or that ends an answer the
// panel owed (the modem hung up in the middle of it). The modem's own
// results to the tool's dialling and hang-up ("ATD...", "ATH") keep their
// meaning: a dial that failed is tried again, a hang-up is meant to end
// the call. On the cable the line means nothing of the kind.
bool CallLostBy(const QString& line, bool modem, const TOwedAnswers::TFate& fate);
