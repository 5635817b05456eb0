// tarn-cli pack: the model's islands laid out afresh on its skin, with the
// texels moved along, as Mapping > Pack Islands does. Every skin of the model
// is re-baked alike: the first is written to NEWSKIN, the others beside it as
// NEWSKIN's name followed by _2, _3, ...; the model written to OUT.md2 names
// them, relative to the base folder (--base, or the one OUT.md2 lies in).
// "--size shrink" keeps to the game's 640 x 480 unless --no-limits is given.
#include <algorithm>
#include <filesystem>
#include <ostream>

#include "cli_args.h"
#include "edit/pack_islands.h"
#include "mapping_cli.h"
#include "model/game_folder.h"
#include "paint/paint_state.h"
#include "platform/fs.h"

namespace tarn::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "pack MODEL.md2 -o OUT.md2 --skin-out NEWSKIN [--margin N] [--rotate] [--scale keep|fit] [--size WxH|shrink] "
    "[--no-limits] [--selected LIST] [--base DIR]";

bool parsePackSize(const std::string& v, PackOptions& o) {
    if (v == "shrink") {
        o.size = PackSize::Shrink;
        return true;
    }
    o.size = PackSize::Given;
    return parseSize(v, o.width, o.height) && o.width > 0 && o.height > 0;
}

// Where skin `index` (from 0) of the packed model is written.
std::string skinPath(const std::string& first, int index) {
    if (index == 0) return first;
    const fs::path p(first);
    return (p.parent_path() / (p.stem().string() + "_" + std::to_string(index + 1) + p.extension().string()))
        .string();
}

// The name the model gives a skin written at `path`: relative to the base
// folder when below it, else the file's own name.
std::string skinName(const std::string& base, const std::string& path) {
    const fs::path relative = fs::path(path).lexically_relative(fs::path(base));
    if (!relative.empty() && *relative.begin() != "..") return relative.generic_string();
    return fs::path(path).filename().string();
}

int pack(const Args& args, std::ostream& out, std::ostream& err) {
    std::string base, output, skinOut;
    PackOptions options;
    std::vector<int> selected;
    bool rotate = false;
    std::vector<std::string> paths;
    OptionTable table;
    table.values["--base"] = [&](const std::string& v) { return takeBaseFolder(v, base); };
    table.values["-o"] = [&](const std::string& v) { output = absolutePath(v); return true; };
    table.values["--skin-out"] = [&](const std::string& v) { skinOut = absolutePath(v); return true; };
    table.values["--margin"] = [&](const std::string& v) {
        return parseInt(v, options.margin) && options.margin >= 0 && options.margin <= kMaxPackMargin;
    };
    table.values["--scale"] = [&](const std::string& v) {
        options.scale = v == "fit" ? PackScale::Fit : PackScale::Keep;
        return v == "fit" || v == "keep";
    };
    table.values["--size"] = [&](const std::string& v) { return parsePackSize(v, options); };
    table.values["--selected"] = [&](const std::string& v) {
        options.selectedOnly = true;
        return parseList(v, selected);
    };
    table.flags["--rotate"] = &rotate;
    table.flags["--no-limits"] = &options.noLimits;
    std::string why = readOptions(args, table, paths);
    options.rotate = rotate;
    if (why.empty() && paths.size() != 1) why = "expected one MODEL.md2";
    if (why.empty() && output.empty()) why = "no output given (-o OUT.md2)";
    if (why.empty() && skinOut.empty()) why = "no skin output given (--skin-out NEWSKIN)";
    if (why.empty() && !isSkinOutput(skinOut)) why = "NEWSKIN must end in .pcx, .bmp or .png";
    if (why.empty() && options.selectedOnly && options.size != PackSize::Current)
        why = "--selected packs into the current skin size; leave --size out";
    if (why.empty() && options.scale == PackScale::Fit && options.size == PackSize::Shrink)
        why = "--scale fit needs the current size or --size WxH";
    if (!why.empty()) return usageError(err, "pack", why, kUsage);

    CliModel model(err, baseFor(base, paths[0]), "pack");
    if (!model.load(paths[0])) return kExitFailed;
    SkinList& skins = model.skins();
    // Every output, checked against every input before anything is worked out.
    std::vector<std::string> outputs{output};
    for (int i = 0; i < std::max(skins.count(), 1); ++i) outputs.push_back(skinPath(skinOut, i));
    if (refuseOutputsOverInputs(err, "pack", outputs, args, filesOfSkins(skins))) return kExitFailed;
    if (const std::string bad = model.select(selected); !bad.empty()) {
        err << "tarn-cli pack: " << bad << '\n';
        return kExitFailed;
    }
    // A missing or mis-sized skin is a checkerboard standing in: packed, it
    // would be written as if it were the model's skin.
    for (int i = 0; i < skins.count(); ++i) {
        if (skins.at(i)->hasFile) continue;
        err << "tarn-cli pack: the skin " << skins.at(i)->name
            << " could not be used (missing or of another size); its texels cannot be moved, so nothing was "
               "written\n";
        return kExitFailed;
    }
    Mesh& mesh = model.mesh();
    const PackPlan plan = PlanPack(mesh, options);
    if (!plan.ok()) {
        err << "tarn-cli pack: " << plan.refusal << '\n';
        return kExitFailed;
    }
    const int before = UncoveredPercent(mesh, mesh.mappingVerts, mesh.skinWidth, mesh.skinHeight);
    const int after = WastedSpaceAfter(mesh, plan);
    const std::string nameBase = base.empty() ? defaultBaseFolder(output) : base;
    const std::uint8_t background = ColorSlots{}[kSlotBackground];
    // The skins and the model are all made before any is written, and then
    // written all or none.
    std::vector<FileToWrite> files;
    for (int i = 0; i < skins.count(); ++i) {
        Skin& skin = *skins.at(i);
        skin.pixels = PackedPixels(mesh, plan, skin, background);
        skin.width = plan.width;
        skin.height = plan.height;
        skin.buildRowTable();
        const std::string path = skinPath(skinOut, i);
        files.push_back({path, encodeSkinByExtension(skin, path)});
        if (!skin.external) skin.name = skinName(nameBase, path);
    }
    ApplyPackToMesh(mesh, plan);
    Md2Encode md2 = model.encode();
    if (!md2.ok()) {
        err << "tarn-cli pack: " << md2.error << "\ntarn-cli pack: nothing was written\n";
        return kExitFailed;
    }
    files.push_back({output, std::move(md2.bytes)});
    if (!writeAllOrNone(err, "pack", files)) return kExitFailed;
    for (const FileToWrite& f : files) {
        if (f.path == output) continue;
        out << "wrote " << f.path << '\n';
    }
    if (skins.count() == 0) out << "the model has no skins: only its mapping was packed\n";
    out << "wrote " << output << " (" << plan.width << "x" << plan.height << ", " << plan.moves.size()
        << " islands moved";
    if (options.scale == PackScale::Fit) out << ", scale " << plan.scale;
    out << "; Wasted Space " << before << "% -> " << after << "%)\n";
    return kExitOk;
}

Registrar reg("pack", kUsage, pack);

}  // namespace

}  // namespace tarn::cli
