// Which received lines tell that the modem's call to the panel is gone.
#include "panel/CallLoss.h"

#include <gtest/gtest.h>

namespace {

TEST(CallLoss, NoCarrierOnAModemLinkOutsideDiallingAndHangUp) {
    const auto owedTo = [](const char* command, bool completes = true) {
        TOwedAnswers::TFate fate;
        fate.Owed = true;
        fate.Command = command;
        fate.Completes = completes;
        return fate;
    };
    struct Case {
        const char* what;
        QString line;
        bool modem;
        TOwedAnswers::TFate fate;
        bool lost;
    };
    const Case cases[] = {
        {"asked for by nobody", "NO CARRIER", true, {}, true},
        {"ends a page command's answer", "NO CARRIER", true, owedTo("+o"), true},
        {"ends the signal reading's answer", "NO CARRIER", true, owedTo("+U"), true},
        {"ends the escape's answer", "NO CARRIER", true, owedTo("+++"), true},
        {"the dial failed: redialled, not lost", "NO CARRIER", true, owedTo("ATD89001234567"), false},
        {"the hang-up's own result", "NO CARRIER", true, owedTo("ATH"), false},
        {"on the cable", "NO CARRIER", false, {}, false},
        {"on the cable, inside an answer", "NO CARRIER", false, owedTo("+o", false), false},
        {"another failure line", "BUSY", true, {}, false},
        {"part of a line", "NO CARRIER 2", true, owedTo("+o", false), false},
        {"lower case", "no carrier", true, {}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CallLostBy(c.line, c.modem, c.fate), c.lost) << c.what;
}

} // namespace
