#pragma once

#include "panel_settings.h"

#include <QString>
#include <QStringList>

namespace emu {

// The panel-emulator program's command line.
struct EmulatorOptions {
    PanelSettings settings;
    QString linkPath; // --link; empty: announce in the ports folder
    bool helpRequested = false;

    enum class Result { Run, Help, Error };
    // Parses the arguments (the program name first). On Error, `message`
    // says what is wrong; on Help, it holds the help text.
    static Result parse(const QStringList& arguments, EmulatorOptions& options, QString& message);
};

} // namespace emu
