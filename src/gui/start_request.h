#pragma once
// The command line of tarn: "--base DIR" (this run's base folder, used
// without asking) and the "-md2" model and skins.
#include <QStringList>

#include "app/startup.h"

namespace tarn {

inline constexpr const char* kTarnUsage =
    "usage: tarn [--base DIR] [MODEL.md2 [SKIN ...]]\n"
    "       tarn [--base DIR] -md2 MODEL.md2 [SKIN ...]\n"
    "       tarn --help | --version\n"
    "\n"
    "Paints and maps the skins of Quake 2 MD2 models.\n"
    "  --base DIR   the game's base folder (baseq2) for this run\n"
    "  MODEL.md2    the model to open, followed by external skins to add\n"
    "Hold Ctrl while TARN starts to skip the intro and the model.\n";

// Builds the request from the program's arguments (program name first). The
// arguments after "--base DIR" become one command line, each argument that
// holds a space in double quotes. A model named without "-md2" (as a file
// manager passes it) is taken as if "-md2" stood before it.
StartupRequest startRequestFrom(const QStringList& arguments);

}  // namespace tarn
