#pragma once

#include "pages/PageHost.h"

#include <QString>

class QWidget;

// Asks for a file with the standard dialog (in Russian with the program's
// translations), starting in the home folder with the default name
// offered; empty when the user cancels.
QString ChooseFileName(QWidget* parent, const TFileChoice& choice);
