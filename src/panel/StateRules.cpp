#include "StateRules.h"

namespace {

using S = TOperationState;
using A = TStateAction;

// The operations on the panel, which nest inside one another.
constexpr TStateSet kPanelOperations =
    StateSet(S::Reading, S::Writing, S::Defaulting, S::Erasing, S::ReadingJournal, S::UpdatingFirmware);
// The settings file needs no panel, but runs alone.
constexpr TStateSet kFileOperations = StateSet(S::LoadingSettings, S::SavingSettings);

// Inside a panel operation: nothing enabled, its own steps may begin.
constexpr TStateRule Stepping(S state) {
    return {state, false, {}, kPanelOperations, true};
}
// Something runs that takes nothing beside it.
constexpr TStateRule Alone(S state, bool wakeUp) {
    return {state, false, {}, 0, wakeUp};
}

constexpr TStateRule kRules[kOperationStateCount] = {
    {S::Disconnected, true, A::Connect | A::SettingsFile | A::PageInput, kFileOperations, false},
    Alone(S::Connecting, false),
    {S::Connected, true,
     A::Disconnect | A::PageOperations | A::SettingsFile | A::FirmwareUpdate | A::PageInput,
     kPanelOperations | kFileOperations, true},
    {S::BootLoader, true, A::Disconnect | A::FirmwareUpdate, StateBit(S::UpdatingFirmware), true},
    Stepping(S::Reading),
    Stepping(S::Writing),
    Stepping(S::Defaulting),
    Stepping(S::Erasing),
    Stepping(S::ReadingJournal),
    // The upload alone talks to the panel until it ends: no wake-up "+v"
    // between its commands.
    Alone(S::UpdatingFirmware, false),
    Alone(S::LoadingSettings, true),
    Alone(S::SavingSettings, true),
    Alone(S::Disconnecting, false),
    Alone(S::Closing, false),
    // The window refuses such a panel and disconnects; the command line may
    // still update its firmware.
    {S::Incompatible, true, {}, StateBit(S::UpdatingFirmware), false},
};

constexpr bool InStateOrder() {
    for (int i = 0; i < kOperationStateCount; ++i) {
        if (kRules[i].State != S(i))
            return false;
    }
    return true;
}
static_assert(InStateOrder(), "one rule per state, in the order of TOperationState");

} // namespace

const TStateRule (&StateRules())[kOperationStateCount] {
    return kRules;
}

const TStateRule& StateRule(TOperationState state) {
    return kRules[int(state)];
}

bool MayBegin(TOperationState from, TOperationState operation) {
    return IsOperation(operation) && (StateRule(from).Begins & StateBit(operation)) != 0;
}
