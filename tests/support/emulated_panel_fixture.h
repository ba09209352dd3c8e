#pragma once

#include "emulated_panel.h"

#include <memory>

// The emulated panel as the tool's tests use it: started on a pty with
// quick delays (a few milliseconds), cable mode unless told otherwise.
std::unique_ptr<emu::EmulatedPanel> StartEmulatedPanel(emu::PanelSettings settings = {});
emu::PanelSettings QuickPanelSettings(emu::LinkMode mode = emu::LinkMode::Cable);
