#pragma once

// The tool's exchange on a pty with the emulated panel behind it, in a cable
// session, and an upload run to its end.
#include "emulated_panel_fixture.h"
#include "firmware/UploadFirmware.h"
#include "panel/CommandExchange.h"
#include "serial/Device.h"
#include "test_wait.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

struct TBootLink {
    std::unique_ptr<emu::EmulatedPanel> panel;
    TDevice device;
    TCommandExchange exchange{&device};

    // Starts the panel and opens the cable session; true when the panel took it.
    bool Open(emu::PanelSettings settings = QuickPanelSettings()) {
        panel = StartEmulatedPanel(settings);
        device.SetPort(panel->slavePath());
        device.SetComActive(true);
        exchange.Attach();
        return device.ComActive() && Session();
    }
    // A new cable session (a panel restarts after its final check).
    bool Session() {
        QString value;
        return exchange.DeviceCommand(QStringLiteral("CABLE CONNECT"), value, 2500);
    }
};

// Runs an upload to its end; the result, or a failure of the test.
inline TUploadResult RunUpload(TUploadFirmware& engine, const QStringList& image, int timeoutMs = 60000) {
    QSignalSpy finished(&engine, &TUploadFirmware::Finished);
    EXPECT_TRUE(engine.UploadFirmware(image));
    EXPECT_TRUE(waitUntil([&] { return finished.count() > 0; }, timeoutMs));
    EXPECT_EQ(finished.count(), 1);
    return finished.isEmpty() ? TUploadResult{} : finished.first().first().value<TUploadResult>();
}

// Short waits for tests of a panel that fails: a refused command costs the
// exchange's three attempts of this long each.
inline TUploadTimeOuts ShortUploadTimeOuts() {
    TUploadTimeOuts t;
    t.BootCheck = 300;
    t.FlashErase = 300;
    t.Block = 300;
    t.FinalCheck = 300;
    t.BootLoaderAnswer = 300;
    return t;
}
