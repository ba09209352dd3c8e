#include "OperationState.h"

bool IsOperation(TOperationState state) {
    switch (state) {
    case TOperationState::Reading:
    case TOperationState::Writing:
    case TOperationState::Defaulting:
    case TOperationState::Erasing:
    case TOperationState::ReadingJournal:
    case TOperationState::UpdatingFirmware:
    case TOperationState::LoadingSettings:
    case TOperationState::SavingSettings: return true;
    default: return false;
    }
}

QString StateName(TOperationState state) {
    switch (state) {
    case TOperationState::Disconnected: return QStringLiteral("Disconnected");
    case TOperationState::Connecting: return QStringLiteral("Connecting");
    case TOperationState::Connected: return QStringLiteral("Connected");
    case TOperationState::BootLoader: return QStringLiteral("BootLoader");
    case TOperationState::Reading: return QStringLiteral("Reading");
    case TOperationState::Writing: return QStringLiteral("Writing");
    case TOperationState::Defaulting: return QStringLiteral("Defaulting");
    case TOperationState::Erasing: return QStringLiteral("Erasing");
    case TOperationState::ReadingJournal: return QStringLiteral("ReadingJournal");
    case TOperationState::UpdatingFirmware: return QStringLiteral("UpdatingFirmware");
    case TOperationState::LoadingSettings: return QStringLiteral("LoadingSettings");
    case TOperationState::SavingSettings: return QStringLiteral("SavingSettings");
    case TOperationState::Disconnecting: return QStringLiteral("Disconnecting");
    case TOperationState::Closing: return QStringLiteral("Closing");
    case TOperationState::Incompatible: return QStringLiteral("Incompatible");
    }
    return {};
}
