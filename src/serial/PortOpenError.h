#pragma once

#include <QString>

// Why a port would not open, said in the installer's words: what is wrong
// and what to do about it. createError is the device's code (ComTypes.h),
// osError the system's errno at the failure (0 when it is not known).
QString PortOpenReason(int createError, int osError);
