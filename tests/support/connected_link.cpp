#include "connected_link.h"

#include "panel/ConnectSequence.h"
#include "test_wait.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

bool TConnectedLink::Connect(const QString& port, int waitMs) {
    exchange.SetTimings(timings);
    exchange.Attach();
    TConnectSequence sequence;
    sequence.SetLink(&exchange.OwedAnswers(), timings);
    sequence.SetDevice(&device);
    QSignalSpy ok(&sequence, &TConnectSequence::Succeeded);
    QSignalSpy failed(&sequence, &TConnectSequence::Failed);
    if (!sequence.Connect(port, false, QString())) {
        ADD_FAILURE() << "the port did not open: " << port.toStdString();
        return false;
    }
    waitUntil([&] { return ok.count() + failed.count() > 0; }, waitMs);
    sequence.ResetDevice();
    version = {sequence.Ver(), sequence.Major(), sequence.Minor(), sequence.Release(), sequence.Memory()};
    exchange.SetModem(false);
    EXPECT_EQ(ok.count(), 1) << "the connection sequence did not succeed";
    return ok.count() == 1;
}
