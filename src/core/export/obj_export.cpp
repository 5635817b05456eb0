#include "export/obj_export.h"

#include <algorithm>
#include <cstdio>

#include "image/image_codec.h"
#include "platform/dialogs.h"

namespace tarn {

namespace {

// Nine significant digits give a float back exactly.
void appendFloats(std::string& out, const char* tag, std::initializer_list<float> values) {
    out += tag;
    char text[32];
    for (const float v : values) {
        std::snprintf(text, sizeof text, " %.9g", static_cast<double>(v));
        out += text;
    }
    out += '\n';
}

// The material takes the skin's file name, without what OBJ readers split on.
std::string materialName(const Skin& skin) {
    std::string name = skin.name.substr(skin.name.find_last_of("/\\") + 1);
    name = name.substr(0, name.rfind('.'));
    std::replace_if(name.begin(), name.end(), [](char c) { return c == ' ' || c == '\t'; }, '_');
    return name.empty() ? "skin" : name;
}

}  // namespace

ObjText encodeObj(const Mesh& mesh, int frame, const Skin* skin, const std::string& baseName) {
    ObjText out;
    std::string& obj = out.obj;
    const bool hasFrame = frame >= 0 && std::size_t(frame) < mesh.frames.size();
    const int vertices = hasFrame ? std::min<int>(mesh.vertexCount, static_cast<int>(mesh.frames[std::size_t(frame)].positions.size())) : 0;
    obj += "# TARN: frame " + std::to_string(frame) + (hasFrame ? " \"" + mesh.frames[std::size_t(frame)].name + "\"" : "") + "\n";
    if (skin) obj += "mtllib " + baseName + ".mtl\n";
    obj += "o " + baseName + "\n";
    // y-up as OBJ readers expect: a quarter turn about x, nothing mirrored.
    for (int v = 0; v < vertices; ++v) {
        const Vec3f& p = mesh.frames[std::size_t(frame)].positions[std::size_t(v)];
        appendFloats(obj, "v", {p.x, p.z, -p.y});
    }
    const float width = static_cast<float>(std::max<int>(mesh.skinWidth, 1));
    const float height = static_cast<float>(std::max<int>(mesh.skinHeight, 1));
    for (int m = 0; m < mesh.mappingVertCount; ++m) {
        const MappingVert& mv = mesh.mappingVerts[std::size_t(m)];
        appendFloats(obj, "vt", {(static_cast<float>(mv.s) + 0.5f) / width, 1.0f - (static_cast<float>(mv.t) + 0.5f) / height});
    }
    if (skin) obj += "usemtl " + materialName(*skin) + "\n";
    for (int i = 0; i < mesh.triangleCount; ++i) {
        const Triangle& t = mesh.triangles[std::size_t(i)];
        bool inside = true;
        for (int k = 0; k < 3; ++k)
            inside = inside && t.vertex[k] >= 0 && t.vertex[k] < vertices && t.mapping[k] >= 0 &&
                     t.mapping[k] < mesh.mappingVertCount;
        if (!inside) continue;
        // Counter-clockwise seen from outside, as OBJ has it; the format winds the other way.
        obj += "f";
        for (const int k : {0, 2, 1})
            obj += " " + std::to_string(t.vertex[k] + 1) + "/" + std::to_string(t.mapping[k] + 1);
        obj += '\n';
    }
    if (skin) {
        std::string name = skin->name;
        std::replace(name.begin(), name.end(), '\\', '/');
        out.mtl = "# TARN skin " + name + "\nnewmtl " + materialName(*skin) + "\nKa 1 1 1\nKd 1 1 1\nKs 0 0 0\nillum 1\nmap_Kd " + baseName +
                  ".png\n";
    }
    return out;
}

std::string SaveObj(const Mesh& mesh, int frame, const Skin* skin, const std::string& path) {
    if (frame < 0 || std::size_t(frame) >= mesh.frames.size())
        return "The model has no frame " + std::to_string(frame) + ".";
    if (skin && (skin->width != mesh.skinWidth || skin->height != mesh.skinHeight ||
                 skin->pixels.size() < skin->pixelCount()))
        skin = nullptr;
    const std::string stem = withExtension(path, "");
    const std::string base = fileNameOf(stem);
    const ObjText text = encodeObj(mesh, frame, skin, base);
    if (skin) {
        const Bytes png = encodePng8(skin->width, skin->height, skin->pixels.data(), skin->palette);
        if (png.empty()) return "The skin could not be encoded as PNG.";
        if (const int error = writeFileAtomic(stem + ".png", png)) return errorSavingMessage(error, stem + ".png");
        if (const int error = writeFileAtomic(stem + ".mtl", Bytes(text.mtl.begin(), text.mtl.end())))
            return errorSavingMessage(error, stem + ".mtl");
    }
    if (const int error = writeFileAtomic(path, Bytes(text.obj.begin(), text.obj.end())))
        return errorSavingMessage(error, path);
    return {};
}

}  // namespace tarn
