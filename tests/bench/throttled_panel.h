#pragma once

#include "emulated_panel.h"
#include "tool_link.h"

#include <benchmark/benchmark.h>

#include <memory>

// The emulated panel with its line throttled to `baud` (10 bits a byte),
// started; null when it does not start, the benchmark then skipped with the
// reason.
inline std::unique_ptr<emu::EmulatedPanel> StartThrottledPanel(benchmark::State& state,
                                                               emu::PanelSettings settings, int baud) {
    settings.faults.baud = baud;
    auto panel = std::make_unique<emu::EmulatedPanel>(settings);
    QString error;
    if (!panel->start(&error)) {
        state.SkipWithError(("the emulated panel does not start: " + error).toStdString().c_str());
        return nullptr;
    }
    return panel;
}

// The tool's link opened on the panel's pty; false, the benchmark skipped,
// when it cannot be.
inline bool OpenLink(benchmark::State& state, ToolLink& link, const emu::EmulatedPanel& panel) {
    if (link.open(panel.slavePath()))
        return true;
    state.SkipWithError("the emulated panel's pty cannot be opened");
    return false;
}

// The cable session taken on an open link; false, the benchmark skipped,
// when the panel refuses it.
inline bool TakeCableSession(benchmark::State& state, ToolLink& link) {
    QString value;
    if (link.exchange.DeviceCommand("CABLE CONNECT", value, 2500))
        return true;
    state.SkipWithError("the emulated panel does not take the cable session");
    return false;
}
