// tarn-cli render: what the 3D pane would show, drawn headlessly and written
// as PNG, BMP or PCX (by OUT's extension) in the mode's palette or in true
// colour, optionally smoothed as Snapshot smooths; optionally the three
// planes raw.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <ostream>

#include "cli_args.h"
#include "cli_commands.h"
#include "image/skin_io.h"
#include "platform/batch_ui.h"
#include "platform/fs.h"
#include "render/maps_render_options.h"
#include "render/render_setup.h"
#include "render/snapshot.h"

namespace tarn::cli {

namespace {

constexpr const char* kUsage =
    "render MODEL.md2 -o OUT [--mode NAME|INDEX] [--frame N] [--size WxH] [--eye X,Y,Z] "
    "[--at X,Y,Z] [--fov DEG] [--skin N] [--mapping] [--select LIST] [--companion FILE.md2]... "
    "[--base DIR] [--planes PREFIX] [--phong FILE]... [--env FILE]... [--colormap FILE] "
    "[--gamma G] [--light X,Y,Z] [--truecolour] [--smooth F]";

// The smoothing factors Snapshot's slider reaches.
constexpr float kSmoothMin = 1.0f;
constexpr float kSmoothMax = 13.49875f;

struct RenderLine {
    RenderRequest request;
    std::string output;
    std::string planes;
    MapRenderOptions maps;
    SnapshotQuality quality;
    std::string error;
};

// Each option with a value, by name: adding an option is one entry here.
using OptionFn = std::function<bool(RenderLine&, const std::string&)>;
const std::map<std::string, OptionFn>& valueOptions() {
    static const std::map<std::string, OptionFn> options = {
        {"-o", [](RenderLine& l, const std::string& v) { l.output = absolutePath(v); return true; }},
        {"--mode", [](RenderLine& l, const std::string& v) { return parseMode(v, l.request.mode); }},
        {"--frame", [](RenderLine& l, const std::string& v) { return parseInt(v, l.request.frame); }},
        {"--size", [](RenderLine& l, const std::string& v) {
             return parseSize(v, l.request.width, l.request.height);
         }},
        {"--eye", [](RenderLine& l, const std::string& v) { return parseVector(v, l.request.eye); }},
        {"--at", [](RenderLine& l, const std::string& v) { return parseVector(v, l.request.lookAt); }},
        {"--fov", [](RenderLine& l, const std::string& v) { return parseFloat(v, l.request.fieldOfView); }},
        // Skins count from 1, as tarn-cli info lists them.
        {"--skin", [](RenderLine& l, const std::string& v) {
             int n = 0;
             if (!parseInt(v, n) || n < 1) return false;
             l.request.skin = n - 1;
             return true;
         }},
        {"--select", [](RenderLine& l, const std::string& v) { return parseList(v, l.request.selected); }},
        {"--companion", [](RenderLine& l, const std::string& v) {
             l.request.companions.push_back(absolutePath(v));
             return true;
         }},
        {"--base", [](RenderLine& l, const std::string& v) { return takeBaseFolder(v, l.request.base); }},
        {"--planes", [](RenderLine& l, const std::string& v) { l.planes = absolutePath(v); return true; }},
        {"--smooth", [](RenderLine& l, const std::string& v) {
             float f = 0.0f;
             if (!parseFloat(v, f) || f < kSmoothMin || f > kSmoothMax) return false;
             l.quality.smooth = true;
             l.quality.factor = f;
             return true;
         }},
    };
    return options;
}

RenderLine parseRenderLine(const Args& args) {
    RenderLine line;
    for (std::size_t i = 0; i < args.size() && line.error.empty(); ++i) {
        const std::string& a = args[i];
        if (a == "--mapping") {
            line.request.mappingMode = true;
        } else if (a == "--truecolour") {
            line.quality.trueColour = true;
        } else if (const auto it = valueOptions().find(a); it != valueOptions().end()) {
            if (i + 1 >= args.size())
                line.error = a + " needs a value";
            else if (!it->second(line, args[++i]))
                line.error = "bad value for " + a + ": '" + args[i] + "'";
        } else if (isMapRenderOption(a)) {
            if (i + 1 >= args.size())
                line.error = a + " needs a value";
            else
                line.error = parseMapRenderOption(line.maps, a, args[++i]);
        } else if (a.size() > 1 && a[0] == '-') {
            line.error = "unknown option '" + a + "'";
        } else {
            line.error = takeModelPath(line.request.model, a);
        }
    }
    if (line.error.empty()) line.error = requireModel(line.request.model, line.request.base);
    if (line.error.empty() && line.output.empty()) line.error = "no output given (-o OUT)";
    if (line.error.empty() && line.quality.smooth && !line.quality.trueColour)
        line.error = "--smooth needs --truecolour (an 8-bit picture cannot hold the blend)";
    if (line.error.empty() && line.quality.smooth &&
        std::max(line.request.width, line.request.height) > kSnapshotMaxSide)
        line.error = "--smooth pictures are at most 2048 pixels on a side";
    return line;
}

// The picture of the drawn planes, or drawn again smoothed.
SnapshotPicture pictureOf(RenderSession& session, int mode, const SnapshotQuality& quality) {
    const int w = session.frame.clientWidth();
    const int h = session.frame.height();
    if (quality.smooth) return renderSnapshot(session.modes.at(mode), session.scene(), session.target, w, h, quality);
    SnapshotPicture picture{w, h, quality.trueColour, topDownColour(session), session.palette(mode)};
    if (!quality.trueColour) return picture;
    Bytes rgb;
    rgb.reserve(picture.pixels.size() * 3);
    for (std::uint8_t index : picture.pixels)
        for (std::size_t c = 0; c < 3; ++c) rgb.push_back(picture.palette[std::size_t(index) * 3 + c]);
    picture.pixels = std::move(rgb);
    return picture;
}

template <typename T>
Bytes littleEndian(const T* values, std::size_t count) {
    Bytes out;
    out.reserve(count * sizeof(T));
    for (std::size_t i = 0; i < count; ++i) {
        const auto v = static_cast<std::make_unsigned_t<T>>(values[i]);
        for (std::size_t b = 0; b < sizeof(T); ++b) out.push_back(std::uint8_t(v >> (8 * b)));
    }
    return out;
}

// The three planes as files beside the picture.
void addPlanes(std::vector<FileToWrite>& files, const RenderSession& session, const std::string& prefix) {
    const FrameBuffer& f = session.frame;
    const std::size_t n = f.elementCount();
    files.push_back({prefix + ".colour", Bytes(f.colour(), f.colour() + n)});
    files.push_back({prefix + ".depth", littleEndian(f.depth(), n)});
    files.push_back({prefix + ".pick", littleEndian(f.pick(), n)});
}

// The files the rendered model uses besides the model file: its skins, its
// companions and their skins.
std::vector<std::string> filesOfSession(const RenderSession& session) {
    std::vector<std::string> files = filesOfSkins(session.skins);
    for (const auto& companion : session.companions) {
        files.push_back(companion->name);
        if (!companion->skinFile.empty()) files.push_back(companion->skinFile);
    }
    return files;
}

int render(const Args& args, std::ostream& out, std::ostream& err) {
    const RenderLine line = parseRenderLine(args);
    if (!line.error.empty()) {
        err << "tarn-cli render: " << line.error << "\nusage: tarn-cli " << kUsage << '\n';
        return kExitUsage;
    }
    const std::string ext = lowerExtension(line.output);
    if (ext != ".png" && ext != ".bmp" && ext != ".pcx") {
        err << "tarn-cli render: OUT must end in .png, .bmp or .pcx: " << line.output << '\n';
        return kExitUsage;
    }
    BatchUi ui(err, "tarn-cli render: ");
    auto session = std::make_unique<RenderSession>();
    if (const std::string why = prepareRenderSession(*session, line.request, ui); !why.empty()) {
        err << "tarn-cli render: " << why << '\n';
        return kExitFailed;
    }
    std::vector<std::string> outputs{line.output};
    if (!line.planes.empty())
        for (const char* plane : {".colour", ".depth", ".pick"}) outputs.push_back(line.planes + plane);
    if (refuseOutputsOverInputs(err, "render", outputs, args, filesOfSession(*session))) return kExitFailed;
    MapRenderState maps;
    if (const std::string why = applyMapRenderOptions(*session, maps, line.maps, line.request.mode, ui);
        !why.empty()) {
        err << "tarn-cli render: " << why << '\n';
        return kExitFailed;
    }
    if (const std::string refusal = renderModeRefusal(*session, line.request.mode); !refusal.empty()) {
        err << refusal << '\n';
        return kExitFailed;
    }
    session->draw(line.request.mode);
    // The planes and the picture are written all or none.
    std::vector<FileToWrite> files;
    if (!line.planes.empty()) addPlanes(files, *session, line.planes);
    files.push_back({line.output, encodeSnapshot(pictureOf(*session, line.request.mode, line.quality), line.output)});
    if (files.back().bytes.empty()) {
        err << saveFailureLine(line.output, ENOMEM) << '\n';
        return kExitFailed;
    }
    if (!writeAllOrNone(err, "render", files)) return kExitFailed;
    out << line.output << " (" << session->modes.at(line.request.mode).GetName() << ", "
        << session->frame.clientWidth() << "x" << session->frame.height() << ")\n";
    return kExitOk;
}

Registrar reg("render", kUsage, render);

}  // namespace

}  // namespace tarn::cli
