#pragma once
// The command line of tarn: "--base DIR" (this run's base folder, used
// without asking) and the "-md2" model and skins.
#include <QStringList>

#include "app/startup.h"

namespace tarn {

// Builds the request from the program's arguments (program name first). The
// arguments after "--base DIR" become one command line, each argument that
// holds a space in double quotes.
StartupRequest startRequestFrom(const QStringList& arguments);

}  // namespace tarn
