#pragma once

#include <QString>

// What the panel session is doing, as one value. The window enables its
// actions from it alone (StateRules.h); a page enters one of the operation
// states (Reading to SavingSettings) through its host for as long as it
// talks to the panel or works on a file; nothing else can start then.
enum class TOperationState {
    Disconnected,     // no panel: only Connect
    Connecting,       // a connection is being made (the connection dialog is open)
    Connected,        // connected and idle: every action that starts something
    BootLoader,       // connected to a panel waiting in its boot loader: only the
                      // firmware update and Disconnect
    Reading,          // a page (or all pages) being read, the GSM signal reading
    Writing,          // a page (or all pages) being written
    Defaulting,       // the defaults being put into a page (or all pages)
    Erasing,          // the panel's journal being erased (up to 70 s)
    ReadingJournal,   // journal records being read
    UpdatingFirmware, // an image going into the panel's boot loader
    LoadingSettings,  // a settings file being loaded into the pages
    SavingSettings,   // the pages being saved to a settings file
    Disconnecting,    // the disconnect writes and pauses
    Closing,          // the window closes once what runs has ended
    Incompatible,     // connected to a panel whose firmware the tool does not
                      // configure: nothing but a firmware update and Disconnect
};

// The number of states (for tables indexed by state).
constexpr int kOperationStateCount = int(TOperationState::Incompatible) + 1;

// The states a page or an action may enter with BeginOperation.
bool IsOperation(TOperationState state);
// The state's name, for logs and test messages.
QString StateName(TOperationState state);
