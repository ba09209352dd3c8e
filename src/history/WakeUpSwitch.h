#pragma once

// The device's periodic wake-up command, as the journal erase sees it: the
// erase keeps the line quiet while the panel clears its journal (up to 70 s,
// one answer at the end). The device belongs to the window (or to the
// command line's session); the erase only switches its wake-up.
class IWakeUpSwitch {
public:
    virtual ~IWakeUpSwitch() = default;
    virtual void SetWakeUp(bool on) = 0;
};
