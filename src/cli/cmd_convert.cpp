// tarn-cli convert IN OUT: an 8-bit skin image between PCX and BMP with its
// palette kept, or to an indexed PNG when OUT ends in ".png".
#include <ostream>

#include "cli_args.h"
#include "cli_commands.h"
#include "image/skin_io.h"
#include "platform/batch_ui.h"
#include "platform/fs.h"

namespace tarn::cli {

namespace {

int convert(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) {
        err << "usage: tarn-cli convert IN OUT\n";
        return kExitUsage;
    }
    const std::string& in = args[0];
    const std::string& target = args[1];
    const std::string ext = lowerExtension(target);
    if (ext != ".pcx" && ext != ".bmp" && ext != ".png") {
        err << "tarn-cli convert: OUT must end in .pcx, .bmp or .png: " << target << '\n';
        return kExitUsage;
    }

    BatchUi ui(err);
    // The reader is silent about files it cannot open; say why here. The input
    // is read once: it may be a pipe fed a single time.
    int readError = 0;
    auto skin = LoadSkinImage(ui, in, &readError);
    if (!skin) {
        if (readError != 0 && readRefusalMessage(in, readError).empty())
            err << in << ": " << errorLoadingMessage(readError) << '\n';
        return kExitFailed;
    }

    bool saved = false;
    if (ext == ".png")
        saved = SavePng8(ui, target, skin->width, skin->height, skin->pixels.data(), skin->palette);
    else if (ext == ".bmp")
        saved = SaveBmp(ui, *skin, target);
    else
        saved = SavePcx(ui, *skin, target);
    if (!saved) return kExitFailed;
    out << in << " -> " << target << " (" << skin->width << "x" << skin->height << ")\n";
    return kExitOk;
}

Registrar reg("convert", "convert IN OUT    8-bit PCX/BMP skin to PCX, BMP or PNG (by OUT's extension)",
              convert);

}  // namespace

}  // namespace tarn::cli
