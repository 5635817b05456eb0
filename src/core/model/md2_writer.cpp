#include <algorithm>
#include <cstring>
#include <vector>

#include "image/byte_view.h"
#include "model/gl_commands.h"
#include "model/md2_format.h"

namespace tarn {

namespace {

void putI32(Bytes& out, std::int64_t v) { putU32(out, static_cast<std::uint32_t>(v)); }
void putI16(Bytes& out, std::int16_t v) { putU16(out, static_cast<std::uint16_t>(v)); }

// Where the frame records sit in the loaded file, or an error when the bytes
// kept from the load cannot supply the Mesh's frames.
struct FrameSource {
    std::size_t offset = 0;
    std::size_t size = 0;
    std::int64_t frameSize = 0;  // as the loaded file's header gives it
    std::string error;
};

FrameSource findFrames(const Mesh& mesh, const Bytes& sourceImage) {
    FrameSource src;
    const ByteView in(sourceImage.data(), sourceImage.size());
    if (!in.has(0, kMd2HeaderSize)) {
        src.error = "There is no loaded MD2 to take the frames from.";
        return src;
    }
    const Md2Header h = readMd2Header(sourceImage);
    // Padded frames are copied with their padding, so the size field stays true.
    src.frameSize = mesh.frames.empty() ? static_cast<std::int64_t>(md2FrameBytes(mesh.vertexCount))
                                        : std::int64_t{h.frameSize};
    src.size = static_cast<std::size_t>(std::max<std::int64_t>(src.frameSize, 0)) * mesh.frames.size();
    if (h.numVertices != mesh.vertexCount || static_cast<std::size_t>(h.numFrames) != mesh.frames.size() ||
        src.frameSize < static_cast<std::int64_t>(md2FrameBytes(mesh.vertexCount)) ||
        h.offsetFrames < 0 || !in.has(static_cast<std::uint64_t>(h.offsetFrames), src.size)) {
        src.error = "The frames of the loaded MD2 no longer match the Mesh.";
        return src;
    }
    src.offset = static_cast<std::size_t>(h.offsetFrames);
    return src;
}

}  // namespace

Md2Encode encodeMd2(const Mesh& mesh, const std::vector<std::string>& skinNames,
                    const Bytes& sourceImage) {
    Md2Encode result;
    const FrameSource frames = findFrames(mesh, sourceImage);
    if (!frames.error.empty()) {
        result.error = frames.error;
        return result;
    }
    for (const std::string& name : skinNames) {
        if (name.size() > kMd2MaxSkinNameLength) {
            result.error = "The skin name \"" + name + "\" is longer than " +
                           std::to_string(kMd2MaxSkinNameLength) +
                           " characters and cannot be stored in an MD2.";
            return result;
        }
    }

    std::vector<std::int32_t> gl(kGlCommandCapacity);
    const int glWords = BuildGlCommands(mesh, gl);

    const std::int64_t numSkins = static_cast<std::int64_t>(skinNames.size());
    const std::int64_t frameBytes = frames.frameSize;
    const std::int64_t numFrames = static_cast<std::int64_t>(mesh.frames.size());
    const std::int64_t offsetSkins = kMd2HeaderSize;
    const std::int64_t offsetSkinCoords = offsetSkins + kMd2SkinNameSize * numSkins;
    const std::int64_t offsetTriangles = offsetSkinCoords + kMd2SkinCoordSize * mesh.mappingVertCount;
    const std::int64_t offsetFrames = offsetTriangles + kMd2TriangleSize * mesh.triangleCount;
    const std::int64_t offsetGl = offsetFrames + frameBytes * numFrames;
    const std::int64_t offsetEnd = offsetGl + 4 * static_cast<std::int64_t>(glWords);

    Bytes& out = result.bytes;
    out.reserve(static_cast<std::size_t>(offsetEnd));
    out.insert(out.end(), sourceImage.begin(), sourceImage.begin() + kMd2OfsSkinWidth);
    for (std::int64_t v : {std::int64_t{mesh.skinWidth}, std::int64_t{mesh.skinHeight}, frameBytes,
                           numSkins, std::int64_t{mesh.vertexCount}, std::int64_t{mesh.mappingVertCount},
                           std::int64_t{mesh.triangleCount}, std::int64_t{glWords}, numFrames,
                           offsetSkins, offsetSkinCoords, offsetTriangles, offsetFrames, offsetGl,
                           offsetEnd})
        putI32(out, v);

    for (const std::string& name : skinNames) {
        char record[kMd2SkinNameSize] = {};
        std::memcpy(record, name.data(), name.size());
        std::replace(record, record + name.size(), '\\', '/');
        out.insert(out.end(), record, record + kMd2SkinNameSize);
    }
    for (int i = 0; i < mesh.mappingVertCount; ++i) {
        const MappingVert& st = mesh.mappingVerts[static_cast<std::size_t>(i)];
        putI16(out, st.s);
        putI16(out, st.t);
    }
    for (int i = 0; i < mesh.triangleCount; ++i) {
        const Triangle& tri = mesh.triangles[static_cast<std::size_t>(i)];
        for (std::int16_t v : tri.vertex) putI16(out, v);
        for (std::int16_t m : tri.mapping) putI16(out, m);
    }
    const auto frameBegin = sourceImage.begin() + static_cast<std::ptrdiff_t>(frames.offset);
    out.insert(out.end(), frameBegin, frameBegin + static_cast<std::ptrdiff_t>(frames.size));
    for (int w = 0; w < glWords; ++w) putI32(out, gl[static_cast<std::size_t>(w)]);
    return result;
}

}  // namespace tarn
