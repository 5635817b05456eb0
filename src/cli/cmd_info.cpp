// tarn-cli info: what an .md2 holds and how TARN would open it: the header,
// the counts after the mapping merge, the frame names and, for each skin
// name, the file it resolves to below the base folder, loose or in a PAK.
#include <cerrno>
#include <ostream>
#include <sstream>

#include "app/about.h"
#include "cli_commands.h"
#include "image/skin_io.h"
#include "model/md2_format.h"
#include "model_args.h"
#include "platform/batch_ui.h"
#include "platform/game_files.h"

namespace tarn::cli {

namespace {

void printHeader(std::ostream& out, const Md2Header& h) {
    out << "version: " << h.version << '\n'
        << "skin size: " << h.skinWidth << " x " << h.skinHeight << '\n'
        << "frame size: " << h.frameSize << " bytes\n"
        << "in the file: " << h.numSkins << " skins, " << h.numVertices << " vertices, "
        << h.numSkinCoords << " skin coordinates, " << h.numTriangles << " triangles, "
        << h.numGlCommands << " GL command words, " << h.numFrames << " frames\n"
        << "offsets: skins " << h.offsetSkins << ", skin coordinates " << h.offsetSkinCoords
        << ", triangles " << h.offsetTriangles << ", frames " << h.offsetFrames << ", GL commands "
        << h.offsetGlCommands << ", end " << h.offsetEnd << '\n';
}

// How one skin name resolves, as the load would see it.
std::string describeSkin(const std::string& base, const std::string& name, const Md2Header& h) {
    std::ostringstream refusal;
    BatchUi quiet(refusal);
    const GameFile found = readGameFile(quiet, base, name);
    const int error = found.file.error;
    if (error == ENOENT || error == ENOTDIR) return "missing (a temporary skin would stand in)";
    const std::string path = found.fromPak() ? found.pakPath + " : " + name : found.loosePath;
    // There but not to be read: a device or pipe is refused; a file TARN may
    // not open is unreadable, with the system's reason.
    if (const std::string why = refusalOf(found); !why.empty()) return path + " (refused: " + why + ")";
    if (error != 0) return path + " (unreadable: " + errorLoadingMessage(error) + ")";
    // Only the size is told: a true-colour skin is matched to any palette.
    const ColourMatcher anyPalette = [] { return std::optional<ColourMatch>(ColourMatch{}); };
    const auto skin = LinkedSkinOf(quiet, found, name, &anyPalette);
    if (!skin) {
        std::string why = refusal.str();
        while (!why.empty() && why.back() == '\n') why.pop_back();
        return path + " (unreadable" + (why.empty() ? std::string() : ": " + why) + ")";
    }
    std::ostringstream out;
    out << path << " (" << skin->width << " x " << skin->height;
    if (skin->width != h.skinWidth || skin->height != h.skinHeight) out << ", the wrong size";
    out << ")";
    return out.str();
}

int info(const Args& args, std::ostream& out, std::ostream& err) {
    const ModelArgs a = parseModelArgs(args, 1);
    if (!a.error.empty()) {
        err << "tarn-cli info: " << a.error << "\nusage: tarn-cli info MODEL.md2 [--base DIR]\n";
        return 2;
    }
    BatchUi ui(err, "tarn-cli info: ");
    const ReadResult file = readGamePath(ui, a.paths[0]).file;
    if (!file.ok()) {
        err << readFailureLine(a.paths[0], file.error) << '\n';
        return 1;
    }
    Md2Parse parsed = parseMd2(file.bytes);
    if (!parsed.ok()) {
        err << a.paths[0] << ": " << parsed.error << '\n';
        return 1;
    }
    const Md2Header header = parsed.contents.header;
    const std::vector<std::string> names = parsed.contents.skinNames;
    Mesh mesh;
    applyMd2ToMesh(std::move(parsed.contents), mesh);

    out << "file: " << a.paths[0] << '\n';
    printHeader(out, header);
    out << "after the mapping merge: " << mesh.mappingVertCount << " mapping verts, "
        << mesh.triangleCount << " triangles, " << mesh.vertexCount << " vertices, "
        << mesh.frames.size() << " frames\n";
    out << "Wasted Space: " << WastedSpace(mesh) << "%\n";
    out << "frames (" << mesh.frames.size() << "):";
    for (const Frame& frame : mesh.frames) out << ' ' << frame.name;
    out << '\n';
    out << "base folder: " << a.base << '\n';
    out << "skins: " << names.size() << '\n';
    for (std::size_t i = 0; i < names.size(); ++i)
        out << "  " << i + 1 << ". " << names[i] << " -> " << describeSkin(a.base, names[i], header) << '\n';
    return 0;
}

Registrar reg("info", "info MODEL.md2 [--base DIR]", info);

}  // namespace

}  // namespace tarn::cli
