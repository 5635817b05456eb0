// tarn-cli layout: the model's mapping as a PNG to paint over, as Mapping >
// Export Layout... writes it: the Triangles' edges at --scale N times the skin
// size (1 unless given), each chart filled in its own colour with --fill, the
// model's current skin beneath with --over-skin, only the listed Triangles
// with --selected.
#include <ostream>

#include "cli_args.h"
#include "edit/layout_export.h"
#include "mapping_cli.h"
#include "platform/fs.h"

namespace tarn::cli {

namespace {

constexpr const char* kUsage = "layout MODEL.md2 -o OUT.png [--scale N] [--over-skin] [--fill] [--selected LIST] [--base DIR]";

int layout(const Args& args, std::ostream& out, std::ostream& err) {
    std::string base, output;
    LayoutOptions options;
    std::vector<int> selected;
    std::vector<std::string> paths;
    OptionTable table;
    table.values["--base"] = [&](const std::string& v) { return takeBaseFolder(v, base); };
    table.values["-o"] = [&](const std::string& v) { output = absolutePath(v); return true; };
    table.values["--scale"] = [&](const std::string& v) {
        return parseInt(v, options.scale) && options.scale >= 1 && options.scale <= kMaxLayoutScale;
    };
    table.values["--selected"] = [&](const std::string& v) {
        options.selectedOnly = true;
        return parseList(v, selected);
    };
    table.flags["--over-skin"] = &options.overSkin;
    table.flags["--fill"] = &options.fill;
    std::string why = readOptions(args, table, paths);
    if (why.empty() && paths.size() != 1) why = "expected one MODEL.md2";
    if (why.empty() && output.empty()) why = "no output given (-o OUT.png)";
    if (why.empty() && lowerExtension(output) != ".png") why = "OUT.png must end in .png";
    if (!why.empty()) return usageError(err, "layout", why, kUsage);

    CliModel model(err, baseFor(base, paths[0]), "layout");
    if (!model.load(paths[0]) || refuseOutputOverInput(err, "layout", output, args, filesOfSkins(model.skins())))
        return kExitFailed;
    if (const std::string bad = model.select(selected); !bad.empty()) {
        err << "tarn-cli layout: " << bad << '\n';
        return kExitFailed;
    }
    if (options.overSkin && model.currentSkin() == nullptr) {
        err << "tarn-cli layout: the model has no skin to lay the mapping over\n";
        return kExitFailed;
    }
    if (const std::string tooLarge = LayoutTooLarge(model.mesh(), options.scale); !tooLarge.empty()) {
        err << "tarn-cli layout: " << tooLarge << '\n';
        return kExitFailed;
    }
    const LayoutPicture picture = RenderLayout(model.mesh(), model.currentSkin(), options);
    if (picture.rgb.empty()) {
        err << "tarn-cli layout: the model has no usable mapping\n";
        return kExitFailed;
    }
    if (const int error = WriteLayout(output, picture); error != 0) {
        err << "tarn-cli layout: " << saveFailureLine(output, error) << '\n';
        return kExitFailed;
    }
    out << "wrote " << output << " (" << picture.width << "x" << picture.height << ")\n";
    return kExitOk;
}

Registrar reg("layout", kUsage, layout);

}  // namespace

}  // namespace tarn::cli
