// tarn-cli symmetry: the model's symmetry as Mirror mode and Mirror Mapping
// From Selection see it: the symmetry frame and axis (the most symmetric
// unless given), how symmetric that frame is, and the mirror of each vertex.
#include <cmath>
#include <cstdio>
#include <limits>
#include <ostream>

#include "cli_args.h"
#include "mapping_cli.h"
#include "model/md2_format.h"
#include "model/symmetry.h"
#include "platform/game_files.h"

namespace tarn::cli {

namespace {

constexpr const char* kUsage = "symmetry MODEL.md2 [--json] [--frame N] [--axis x|y|z] [--base DIR]";

// A JSON string: quotes, backslashes, control and non-ASCII bytes escaped,
// so a frame name of any bytes stays valid JSON.
std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || c >= 0x7f) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", c);
            out += code;
        } else {
            out += char(c);
        }
    }
    return out + '"';
}

// A number as JSON has them: null where it is not finite.
std::string number(double v) {
    if (!std::isfinite(v)) return "null";
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", v);
    return text;
}

// The vertex a mirror lies on, or -1.
int vertexAt(const Mesh& mesh, const SurfacePoint& p) {
    for (int k = 0; k < 3; ++k)
        if (p.weight[std::size_t(k)] == 1.0f) return mesh.triangles[std::size_t(p.triangle)].vertex[std::size_t(k)];
    return -1;
}

void printText(std::ostream& out, const Mesh& mesh, const SymmetryMeasure& m, const Mirror& mirror) {
    const std::vector<Vec3f>& positions = mesh.frames[std::size_t(m.frame)].positions;
    out << "frame " << m.frame << ' ' << mesh.frames[std::size_t(m.frame)].name << ", axis " << "xyz"[m.plane.axis]
        << " = " << number(m.plane.centre) << ", score " << number(m.meanDistance) << " (0 is a perfect mirror), "
        << number(100.0 * m.landedShare) << "% of vertices land\n";
    for (int v = 0; v < mesh.vertexCount; ++v) {
        out << "vertex " << v << ": ";
        const auto& p = mirror.ofVertex(v);
        Vec3f at;
        if (!p || !surfacePosition(mesh, positions, *p, at)) {
            out << "no mirror\n";
            continue;
        }
        if (const int w = vertexAt(mesh, *p); w >= 0) out << "vertex " << w;
        else out << "Triangle " << p->triangle << " (" << number(p->weight[0]) << ", " << number(p->weight[1]) << ", "
                 << number(p->weight[2]) << ")";
        out << " at " << number(at.x) << ", " << number(at.y) << ", " << number(at.z) << '\n';
    }
}

void printJson(std::ostream& out, const Mesh& mesh, const SymmetryMeasure& m, const Mirror& mirror) {
    const std::vector<Vec3f>& positions = mesh.frames[std::size_t(m.frame)].positions;
    out << "{\"frame\": " << m.frame << ", \"frameName\": " << jsonString(mesh.frames[std::size_t(m.frame)].name)
        << ", \"axis\": \"" << "xyz"[m.plane.axis] << "\", \"plane\": " << number(m.plane.centre)
        << ", \"score\": " << number(m.meanDistance) << ", \"landed\": " << number(m.landedShare) << ",\n \"vertices\": [";
    for (int v = 0; v < mesh.vertexCount; ++v) {
        out << (v == 0 ? "\n  " : ",\n  ");
        const auto& p = mirror.ofVertex(v);
        Vec3f at;
        if (!p || !surfacePosition(mesh, positions, *p, at)) {
            out << "null";
            continue;
        }
        const int w = vertexAt(mesh, *p);
        out << "{\"triangle\": " << p->triangle << ", \"weights\": [" << number(p->weight[0]) << ", "
            << number(p->weight[1]) << ", " << number(p->weight[2]) << "], \"vertex\": " << (w >= 0 ? std::to_string(w) : "null")
            << ", \"position\": [" << number(at.x) << ", " << number(at.y) << ", " << number(at.z) << "]}";
    }
    out << "\n]}\n";
}

int symmetry(const Args& args, std::ostream& out, std::ostream& err) {
    int axis = -1, frame = -1;
    bool json = false;
    std::string base;
    std::vector<std::string> paths;
    OptionTable table;
    table.values["--base"] = [&](const std::string& v) { return takeBaseFolder(v, base); };
    table.values["--axis"] = [&](const std::string& v) { return parseAxis(v, axis); };
    table.values["--frame"] = [&](const std::string& v) { return parseInt(v, frame) && frame >= 0; };
    table.flags["--json"] = &json;
    std::string why = readOptions(args, table, paths);
    if (why.empty() && paths.size() != 1) why = "expected one MODEL.md2";
    if (!why.empty()) return usageError(err, "symmetry", why, kUsage);

    BatchUi ui(err, "tarn-cli symmetry: ");
    const ReadResult file = readGamePath(ui, paths[0]).file;
    if (!file.ok()) {
        err << readFailureLine(paths[0], file.error) << '\n';
        return kExitFailed;
    }
    Md2Parse parsed = parseMd2(file.bytes);
    if (!parsed.ok()) {
        err << paths[0] << ": " << parsed.error << '\n';
        return kExitFailed;
    }
    Mesh mesh;
    applyMd2ToMesh(std::move(parsed.contents), mesh);
    if (frame >= static_cast<int>(mesh.frames.size())) {
        err << "tarn-cli symmetry: the model has no frame " << frame << '\n';
        return kExitFailed;
    }
    const SymmetryMeasure best = bestSymmetry(mesh);
    SymmetryMeasure m = best;
    if (frame >= 0 || axis >= 0) {
        // A frame given alone is measured across its own best axis.
        const int at = frame >= 0 ? frame : best.frame;
        m.meanDistance = std::numeric_limits<double>::infinity();
        for (int a = 0; a < 3; ++a)
            if (axis < 0 || a == axis)
                if (const SymmetryMeasure other = measureSymmetry(mesh, at, a); other.meanDistance < m.meanDistance || a == axis)
                    m = other;
    }
    if (m.frame < 0) {
        err << "tarn-cli symmetry: the model has no frame with Triangles to measure\n";
        return kExitFailed;
    }
    const Mirror mirror(mesh, m.frame, m.plane.axis, best.ranked[std::size_t(m.plane.axis)]);
    if (json) printJson(out, mesh, m, mirror);
    else printText(out, mesh, m, mirror);
    return kExitOk;
}

Registrar reg("symmetry", kUsage, symmetry);

}  // namespace

}  // namespace tarn::cli
