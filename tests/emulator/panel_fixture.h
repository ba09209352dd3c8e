#pragma once

#include "emulated_panel.h"
#include "panel_client.h"

#include <gtest/gtest.h>
#include <memory>

// An emulated panel with short delays, a client on its line, and (for the
// cable) the session opened with "CABLE CONNECT".
class PanelFixture : public ::testing::Test {
protected:
    void SetUp() override { startPanel(emu::LinkMode::Cable); }

    void startPanel(emu::LinkMode mode, bool connectCable = true) {
        emu::PanelSettings s;
        s.mode = mode;
        s.delays = emu::Delays::quick();
        panel = std::make_unique<emu::EmulatedPanel>(s);
        QString error;
        ASSERT_TRUE(panel->start(&error)) << error.toStdString();
        client = std::make_unique<PanelClient>(panel->slavePath());
        ASSERT_TRUE(client->isOpen());
        if (mode == emu::LinkMode::Cable && connectCable) {
            ASSERT_EQ(client->line("CABLE CONNECT"), QList<QByteArray>{"OK"});
        }
    }

    void reopenClient() {
        client.reset();
        client = std::make_unique<PanelClient>(panel->slavePath());
        ASSERT_TRUE(client->isOpen());
    }

    std::unique_ptr<emu::EmulatedPanel> panel;
    std::unique_ptr<PanelClient> client;
};

// Lines as printable text in failure messages.
inline std::string show(const QList<QByteArray>& lines) {
    QByteArray out;
    for (const QByteArray& l : lines)
        out += '[' + l + ']';
    return out.toStdString();
}
