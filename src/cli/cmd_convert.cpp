// tarn-cli convert IN OUT [--palette FILE] [--dither]: an 8-bit skin image
// between PCX, BMP and PNG with its palette kept. A true-colour image (PNG,
// 24-bit PCX or BMP, TGA, JPEG) is matched to the palette of FILE (the grey ramp without one), by each pixel's
// nearest colour or dithered.
#include <ostream>

#include "cli_args.h"
#include "cli_commands.h"
#include "mapping_cli.h"
#include "image/palette_file.h"
#include "image/skin_commands.h"
#include "image/skin_io.h"
#include "paint/paint_state.h"
#include "platform/batch_ui.h"
#include "platform/fs.h"

namespace tarn::cli {

namespace {

constexpr const char* kUsage = "usage: tarn-cli convert IN OUT [--palette FILE] [--dither]\n";

int convert(const Args& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> files;
    std::string paletteFile;
    bool dither = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--dither") {
            dither = true;
        } else if (args[i] == "--palette" && i + 1 < args.size()) {
            paletteFile = args[++i];
        } else if (args[i].rfind("--", 0) == 0) {
            err << kUsage;
            return kExitUsage;
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) {
        err << kUsage;
        return kExitUsage;
    }
    const std::string& in = files[0];
    const std::string& target = files[1];
    if (!isSkinOutput(target)) {
        err << "tarn-cli convert: OUT must end in .pcx, .bmp or .png: " << target << '\n';
        return kExitUsage;
    }

    if (refuseOutputOverInput(err, "convert", target, args)) return kExitFailed;
    BatchUi ui(err, "tarn-cli convert: ");
    ColourMatch match;
    match.dither = dither;
    match.transparentIndex = ColorSlots{}[kSlotBackground];
    match.palette = greyRampPalette();
    int paletteError = 0;
    if (!paletteFile.empty() && !LoadPaletteFile(paletteFile, match.palette, &paletteError)) {
        err << paletteFile << ": " << withReadRefusal(kMsgNoPalette, paletteFile, paletteError) << '\n';
        return kExitFailed;
    }
    const ColourMatcher matcher = [&match] { return std::optional<ColourMatch>(match); };
    // The reader is silent about files it cannot open; say why here. The input
    // is read once: it may be a pipe fed a single time.
    int readError = 0;
    auto skin = LoadSkinImage(ui, in, &matcher, &readError);
    if (!skin) {
        if (readError != 0 && readRefusalMessage(in, readError).empty())
            err << in << ": " << errorLoadingMessage(readError) << '\n';
        return kExitFailed;
    }

    if (!writeSkinByExtension(ui, *skin, target)) return kExitFailed;
    out << in << " -> " << target << " (" << skin->width << "x" << skin->height << ")\n";
    return kExitOk;
}

Registrar reg("convert",
              "convert IN OUT [--palette FILE] [--dither]    PCX/BMP/PNG/TGA/JPEG skin to PCX, BMP or PNG (by OUT's\n"
              "                  extension); true colours matched to FILE's palette (grey ramp without)",
              convert);

}  // namespace

}  // namespace tarn::cli
