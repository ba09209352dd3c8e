#pragma once

#include <QString>

// What the tool is doing, as one value: the main window's state, which alone
// decides which of its actions are enabled. A page enters one of the
// operation states (Reading to SavingSettings) through its host for as long
// as it talks to the panel or works on a file; nothing else can start then.
enum class TOperationState {
    Disconnected,     // no panel: only Connect
    Connecting,       // the connection dialog is open
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
};

// The states a page or an action may enter with BeginOperation.
bool IsOperation(TOperationState state);
// The state's name, for logs and test messages.
QString StateName(TOperationState state);
