// tarn-cli import-mapping: the mapping of a model made in another tool (OBJ,
// glTF, FBX, COLLADA through assimp) brought onto the model's Triangles by
// where their corners lie in --frame N, and the model written to OUT.md2.
// With --rebake every skin is re-baked onto the new mapping with Retro-Map's
// sampler and --padding P, and written beside OUT.md2 under its own file name.
#include <ostream>

#include "cli_args.h"
#include "edit/mapping_import.h"
#include "edit/seam_padding.h"
#include "mapping_cli.h"
#include "paint/paint_state.h"
#include "platform/fs.h"

namespace tarn::cli {

namespace {

constexpr const char* kUsage =
    "import-mapping MODEL.md2 IN.(obj|gltf|glb|fbx|dae) -o OUT.md2 [--frame N] [--rebake] [--padding P] "
    "[--background INDEX] [--base DIR]";

int importMapping(const Args& args, std::ostream& out, std::ostream& err) {
    std::string base, output;
    int frame = 0, padding = kDefaultSeamPadding;
    int background = ColorSlots{}[kSlotBackground];
    bool rebake = false;
    std::vector<std::string> paths;
    OptionTable table;
    table.values["--base"] = [&](const std::string& v) { return takeBaseFolder(v, base); };
    table.values["-o"] = [&](const std::string& v) { output = absolutePath(v); return true; };
    table.values["--frame"] = [&](const std::string& v) { return parseInt(v, frame) && frame >= 0; };
    table.values["--padding"] = [&](const std::string& v) {
        return parseInt(v, padding) && padding >= 0 && padding <= kMaxSeamPadding;
    };
    table.values["--background"] = [&](const std::string& v) {
        return parseInt(v, background) && background >= 0 && background < kPaletteColors;
    };
    table.flags["--rebake"] = &rebake;
    std::string why = readOptions(args, table, paths);
    if (why.empty() && paths.size() != 2) why = "expected MODEL.md2 and the model file to import";
    if (why.empty() && output.empty()) why = "no output given (-o OUT.md2)";
    if (!why.empty()) return usageError(err, "import-mapping", why, kUsage);

    CliModel model(err, baseFor(base, paths[0]), "import-mapping");
    if (!model.load(paths[0])) return kExitFailed;
    // Each re-baked skin goes beside the output; never over the file it came from.
    std::vector<std::string> skinOutputs;
    for (int i = 0; rebake && i < model.skins().count(); ++i) {
        const Skin& skin = *model.skins().at(i);
        const std::string target = joinPath(folderOf(output), fileNameOf(toNative(skin.name)));
        if (sameFile(target, skin.filePath) || !isSkinOutput(target)) {
            err << "tarn-cli import-mapping: the re-baked skin " << skin.name << " would be written over " << target
                << "; write OUT.md2 to another folder\n";
            return kExitFailed;
        }
        skinOutputs.push_back(target);
    }
    std::vector<std::string> outputs{output};
    outputs.insert(outputs.end(), skinOutputs.begin(), skinOutputs.end());
    if (refuseOutputsOverInputs(err, "import-mapping", outputs, args, filesOfSkins(model.skins()))) return kExitFailed;
    const ModelMapping mapping = ReadModelMapping(model.mesh(), frame, paths[1]);
    if (!mapping.ok()) {
        err << "tarn-cli import-mapping: " << mapping.refusal << '\n';
        return kExitFailed;
    }
    std::optional<SkinRebake> bake;
    if (rebake) bake = SkinRebake{static_cast<std::uint8_t>(background), padding};
    ApplyModelMapping(model.mesh(), model.skins(), mapping, bake, nullptr);
    if (!mapping.unmatched.empty()) err << "tarn-cli import-mapping: " << unmatchedTrianglesMessage(mapping.unmatched) << '\n';
    if (!model.save(output)) return kExitFailed;
    out << "mapped " << mapping.matchedCount << " of " << model.mesh().triangleCount << " Triangles (frame " << frame
        << ")\nwrote " << output << '\n';
    for (std::size_t i = 0; i < skinOutputs.size(); ++i) {
        if (!writeSkinByExtension(model.ui(), *model.skins().at(static_cast<int>(i)), skinOutputs[i]))
            return kExitFailed;
        out << "wrote " << skinOutputs[i] << '\n';
    }
    return kExitOk;
}

Registrar reg("import-mapping", kUsage, importMapping);

}  // namespace

}  // namespace tarn::cli
