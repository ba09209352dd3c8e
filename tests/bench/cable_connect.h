#pragma once

#include "panel/ConnectSequence.h"
#include "serial/Device.h"
#include "test_wait.h"

#include <QSignalSpy>
#include <QString>

#include <benchmark/benchmark.h>

// The tool's connection sequence over the cable to `port` on `device`, the
// way the window connects; false, the benchmark skipped, when the panel is
// not connected within 20 s. The device is left open for an exchange.
inline bool ConnectOverCable(benchmark::State& state, TDevice& device, const QString& port) {
    TConnectSequence sequence;
    sequence.SetDevice(&device);
    QSignalSpy ok(&sequence, &TConnectSequence::Succeeded);
    QSignalSpy failed(&sequence, &TConnectSequence::Failed);
    if (!sequence.Connect(port, false, QString()) ||
        !waitUntil([&] { return ok.count() + failed.count() > 0; }, 20000) || ok.count() != 1) {
        state.SkipWithError("no connection to the emulated panel");
        return false;
    }
    sequence.ResetDevice();
    return true;
}
