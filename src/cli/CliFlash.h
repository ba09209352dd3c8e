#pragma once

#include "CliProgress.h"
#include "CliSession.h"
#include "firmware/UploadFirmware.h"

#include <QString>

class QTextStream;

struct TFlashOptions {
    QString Image;                                   // the image file
    bool Yes = false;                                // no question before writing
    TUploadTimeOuts TimeOuts;                        // the boot loader's waits (tests shorten them)
    TProgressStyle Progress = TProgressStyle::Lines; // Quiet: errors alone, nothing on `out`
};

// tarvik1-cli flash: validates the image (nothing is opened for a damaged
// one), prints its summary, asks on `in` unless told yes, connects, uploads
// with the step, the percent and the time left on `err`, and disconnects as
// the window does. Returns ceOk, or the exit code of what failed: the image,
// the confirmation, the connection, or a step of the upload (named on `err`).
int RunFlash(const TCliOptions& options, const TFlashOptions& flash, QTextStream& in, QTextStream& out,
             QTextStream& err, const TLinkTimings& timings = {});

// Whether an answer to the question means yes ("да", "д", "yes", "y").
bool IsYes(const QString& answer);
