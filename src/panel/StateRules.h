#pragma once

#include "OperationState.h"

#include <QFlags>

#include <cstdint>

// What the window's actions may start in a state: the tool bar's and the
// menu's actions, and whether the page list and the page on show take input.
enum class TStateAction : uint32_t {
    Connect = 0x01,
    Disconnect = 0x02,
    PageOperations = 0x04, // read, write and defaults, of one page or all
    SettingsFile = 0x08,   // save, load and compare a settings file
    FirmwareUpdate = 0x10,
    PageInput = 0x20,
};
Q_DECLARE_FLAGS(TStateActions, TStateAction)
Q_DECLARE_OPERATORS_FOR_FLAGS(TStateActions)

// A set of states, one bit per state.
using TStateSet = uint32_t;
constexpr TStateSet StateBit(TOperationState state) {
    return TStateSet(1) << unsigned(state);
}
template <class... States> constexpr TStateSet StateSet(States... states) {
    return (TStateSet(0) | ... | StateBit(states));
}

// One state's rules: whether nothing runs in it, what it enables, which
// operations may begin from it, and whether the device's wake-up may run
// while a panel is connected in it.
struct TStateRule {
    TOperationState State;
    // Nothing runs: the user may start something (or, with no panel,
    // connect), and a panel connected may be disconnected.
    bool Idle;
    TStateActions Enables;
    // The operations that may begin. From an operation state they are that
    // operation's own steps (writing a page, then erasing the journal):
    // they nest, but never from an event handled while the operation waits
    // for the panel (TPanelSession checks that).
    TStateSet Begins;
    bool WakeUp;
};

// The rules of every state, in the order of TOperationState.
const TStateRule (&StateRules())[kOperationStateCount];
const TStateRule& StateRule(TOperationState state);

// Whether the operation `operation` may begin from `from` by the table.
bool MayBegin(TOperationState from, TOperationState operation);
