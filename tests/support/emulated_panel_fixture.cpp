#include "emulated_panel_fixture.h"

#include <gtest/gtest.h>

emu::PanelSettings QuickPanelSettings(emu::LinkMode mode) {
    emu::PanelSettings s;
    s.mode = mode;
    s.delays = emu::Delays::quick();
    return s;
}

std::unique_ptr<emu::EmulatedPanel> StartEmulatedPanel(emu::PanelSettings settings) {
    auto panel = std::make_unique<emu::EmulatedPanel>(settings);
    QString error;
    EXPECT_TRUE(panel->start(&error)) << error.toStdString();
    return panel;
}
