// tarn-cli retromap: an old skin and the mapping file it was painted for,
// re-baked onto the model's current mapping and written as a new skin
// (PCX, BMP or PNG by the output's extension). A true-colour image (PNG,
// 24-bit PCX or BMP, TGA, JPEG) as the old skin is first matched to a palette: the model's current skin's, or
// that of --palette FILE; nearest colours, or dithered with --dither. Texels
// within --padding N of the islands (2 unless given) take the islands' colours.
#include <ostream>

#include "cli_args.h"
#include "edit/retro_map.h"
#include "edit/seam_padding.h"
#include "image/palette_file.h"
#include "image/skin_commands.h"
#include "image/skin_io.h"
#include "mapping_cli.h"
#include "paint/paint_state.h"
#include "platform/fs.h"

namespace tarn::cli {

namespace {

constexpr const char* kUsage =
    "retromap MODEL.md2 OLDSKIN OLD.kmp -o NEWSKIN [--base DIR] [--background INDEX] [--padding N] [--palette FILE] "
    "[--dither]";

int retromap(const Args& args, std::ostream& out, std::ostream& err) {
    std::string base, output, paletteFile;
    int background = ColorSlots{}[kSlotBackground];
    int padding = kDefaultSeamPadding;
    bool dither = false;
    std::vector<std::string> paths;
    OptionTable table;
    table.values["--base"] = [&](const std::string& v) { return takeBaseFolder(v, base); };
    table.values["-o"] = [&](const std::string& v) { output = absolutePath(v); return true; };
    table.values["--background"] = [&](const std::string& v) {
        return parseInt(v, background) && background >= 0 && background < kPaletteColors;
    };
    table.values["--padding"] = [&](const std::string& v) {
        return parseInt(v, padding) && padding >= 0 && padding <= kMaxSeamPadding;
    };
    table.values["--palette"] = [&](const std::string& v) { paletteFile = v; return true; };
    table.flags["--dither"] = &dither;
    std::string why = readOptions(args, table, paths);
    if (why.empty() && paths.size() != 3) why = "expected MODEL.md2, OLDSKIN and OLD.kmp";
    if (why.empty() && output.empty()) why = "no output given (-o NEWSKIN)";
    if (why.empty() && !isSkinOutput(output)) why = "NEWSKIN must end in .pcx, .bmp or .png";
    if (!why.empty()) return usageError(err, "retromap", why, kUsage);

    CliModel model(err, baseFor(base, paths[0]), "retromap");
    if (!model.load(paths[0]) || refuseOutputOverInput(err, "retromap", output, args, filesOfSkins(model.skins())))
        return kExitFailed;
    ColourMatch match;
    match.dither = dither;
    match.transparentIndex = static_cast<std::uint8_t>(background);
    match.palette = model.currentSkin() ? model.currentSkin()->palette : greyRampPalette();
    int paletteError = 0;
    if (!paletteFile.empty() && !LoadPaletteFile(paletteFile, match.palette, &paletteError)) {
        err << paletteFile << ": " << withReadRefusal(kMsgNoPalette, paletteFile, paletteError) << '\n';
        return kExitFailed;
    }
    const ColourMatcher matcher = [&match] { return std::optional<ColourMatch>(match); };
    const std::unique_ptr<Skin> old = LoadSkinImage(model.ui(), paths[1], &matcher);
    if (!old) {
        err << "tarn-cli retromap: cannot read the old skin " << paths[1] << '\n';
        return kExitFailed;
    }
    std::unique_ptr<Skin> skin =
        RetroMap(model.ui(), model.mesh(), *old, paths[2], static_cast<std::uint8_t>(background), padding);
    if (!skin) return kExitFailed;
    if (!writeSkinByExtension(model.ui(), *skin, output)) return kExitFailed;
    out << "wrote " << output << " (" << skin->width << "x" << skin->height << ")\n";
    return kExitOk;
}

Registrar reg("retromap", kUsage, retromap);

}  // namespace

}  // namespace tarn::cli
