#include "model/md2_format.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <utility>

#include "image/byte_view.h"
#include "image/skin.h"

namespace tarn {

namespace {

std::string damaged(const std::string& what) {
    return "This MD2 file is damaged: " + what + ". Nothing was loaded.";
}

std::string tooLarge(const char* what, long count, int capacity) {
    return "This MD2 has " + std::to_string(count) + " " + what + "; TARN holds at most " +
           std::to_string(capacity) + ". Nothing was loaded.";
}

float f32(const ByteView& in, std::size_t offset) { return std::bit_cast<float>(in.u32(offset)); }
std::int16_t i16(const ByteView& in, std::size_t offset) {
    return static_cast<std::int16_t>(in.u16(offset));
}

// A NUL-terminated text in a fixed field; a field with no terminator is used whole.
std::string fixedText(const ByteView& in, std::size_t offset, std::size_t size) {
    const char* text = reinterpret_cast<const char*>(in.at(offset));
    std::size_t length = 0;
    while (length < size && text[length] != '\0') ++length;
    return std::string(text, length);
}

// The checks a header must pass, first failure reported.
std::string checkHeader(const Md2Header& h) {
    if (h.skinWidth < 1 || h.skinWidth > kMaxImageWidth || h.skinHeight < 1 ||
        h.skinHeight > kMaxImageRows)
        return damaged("its skin size " + std::to_string(h.skinWidth) + " x " +
                       std::to_string(h.skinHeight) + " is not usable (1 to " +
                       std::to_string(kMaxImageWidth) + " by 1 to " + std::to_string(kMaxImageRows) +
                       " pixels)");
    if (h.numSkins < 0 || h.numVertices < 0 || h.numSkinCoords < 0 || h.numTriangles < 0 ||
        h.numFrames < 0)
        return damaged("its header holds a negative count");
    if (h.numVertices > kMaxFrameVertices)
        return tooLarge("vertices per frame", h.numVertices, kMaxFrameVertices);
    if (h.numTriangles > kMaxTriangles) return tooLarge("triangles", h.numTriangles, kMaxTriangles);
    if (h.numSkins > kMd2MaxSkins) return tooLarge("skins", h.numSkins, kMd2MaxSkins);
    if (h.numFrames > kMaxFrames) return tooLarge("frames", h.numFrames, kMaxFrames);
    // Every frame's positions are held decoded, three floats a vertex: the
    // product bounds the memory an open takes, whatever each count allows.
    if (static_cast<long>(h.numFrames) * h.numVertices > kMaxFramePositions)
        return tooLarge("frame positions (frames x vertices)", static_cast<long>(h.numFrames) * h.numVertices,
                        kMaxFramePositions);
    const std::size_t least = md2FrameBytes(h.numVertices);
    if (h.numFrames > 0 && (h.frameSize < 0 || static_cast<std::size_t>(h.frameSize) < least))
        return damaged("its frame size " + std::to_string(h.frameSize) + " is smaller than the " +
                       std::to_string(least) + " bytes a frame of " + std::to_string(h.numVertices) +
                       " vertices needs");
    return {};
}

// Frames follow each other at the header's frame size; checkHeader made sure
// it holds at least the vertices.
std::size_t frameStride(const Md2Header& h) {
    return h.numFrames > 0 ? static_cast<std::size_t>(h.frameSize) : md2FrameBytes(h.numVertices);
}

// True when `count` records of `size` bytes from `offset` lie inside the file.
bool blockInside(const ByteView& in, std::int32_t offset, std::int32_t count, std::size_t size) {
    if (offset < 0) return false;
    return in.has(static_cast<std::uint64_t>(offset),
                  static_cast<std::uint64_t>(count) * static_cast<std::uint64_t>(size));
}

std::string checkBlocks(const ByteView& in, const Md2Header& h) {
    if (!blockInside(in, h.offsetSkins, h.numSkins, kMd2SkinNameSize))
        return damaged("its skin names lie outside the file");
    if (!blockInside(in, h.offsetSkinCoords, h.numSkinCoords, kMd2SkinCoordSize))
        return damaged("its skin coordinates lie outside the file");
    if (!blockInside(in, h.offsetTriangles, h.numTriangles, kMd2TriangleSize))
        return damaged("its triangles lie outside the file");
    if (!blockInside(in, h.offsetFrames, h.numFrames, frameStride(h)))
        return damaged("its frames lie outside the file");
    return {};
}

std::string readTriangles(const ByteView& in, const Md2Header& h, std::vector<Md2Triangle>& out) {
    out.resize(static_cast<std::size_t>(h.numTriangles));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const std::size_t at = static_cast<std::size_t>(h.offsetTriangles) + i * kMd2TriangleSize;
        Md2Triangle& tri = out[i];
        for (std::size_t c = 0; c < 3; ++c) {
            tri.vertex[c] = i16(in, at + 2 * c);
            tri.skinCoord[c] = i16(in, at + 6 + 2 * c);
            if (tri.vertex[c] < 0 || tri.vertex[c] >= h.numVertices)
                return damaged("triangle " + std::to_string(i) + " names vertex " +
                               std::to_string(tri.vertex[c]) + " of " +
                               std::to_string(h.numVertices));
            if (tri.skinCoord[c] < 0 || tri.skinCoord[c] >= h.numSkinCoords)
                return damaged("triangle " + std::to_string(i) + " names skin coordinate " +
                               std::to_string(tri.skinCoord[c]) + " of " +
                               std::to_string(h.numSkinCoords));
        }
    }
    return {};
}

// Frame placement values beyond any game's world, or not numbers at all, would
// only carry garbage into the projection's integer conversions.
bool usablePlacement(const Vec3f& v) {
    for (float c : {v.x, v.y, v.z})
        if (!std::isfinite(c) || std::fabs(c) > kMd2MaxPlacement) return false;
    return true;
}

std::string readFrames(const ByteView& in, const Md2Header& h, std::vector<Frame>& out) {
    const std::size_t frameBytes = frameStride(h);
    out.resize(static_cast<std::size_t>(h.numFrames));
    for (std::size_t f = 0; f < out.size(); ++f) {
        const std::size_t at = static_cast<std::size_t>(h.offsetFrames) + f * frameBytes;
        const Vec3f scale{f32(in, at), f32(in, at + 4), f32(in, at + 8)};
        const Vec3f translate{f32(in, at + 12), f32(in, at + 16), f32(in, at + 20)};
        if (!usablePlacement(scale) || !usablePlacement(translate))
            return damaged("frame " + std::to_string(f) + " has a scale or translation that is not a usable number");
        Frame& frame = out[f];
        frame.name = fixedText(in, at + 24, kMd2FrameNameSize);
        frame.positions.resize(static_cast<std::size_t>(h.numVertices));
        const std::uint8_t* packed = in.at(at + kMd2FrameHeaderSize);
        for (Vec3f& p : frame.positions) {
            // The fourth byte is a normal index; lighting derives normals itself.
            p = {packed[0] * scale.x + translate.x, packed[1] * scale.y + translate.y,
                 packed[2] * scale.z + translate.z};
            packed += kMd2PackedVertexSize;
        }
    }
    return {};
}

}  // namespace

std::size_t md2FrameBytes(int vertexCount) {
    return kMd2FrameHeaderSize + kMd2PackedVertexSize * static_cast<std::size_t>(vertexCount);
}

Md2Header readMd2Header(const Bytes& file) {
    const ByteView in(file.data(), file.size());
    Md2Header h;
    std::int32_t* fields[] = {&h.version,        &h.skinWidth,        &h.skinHeight,
                              &h.frameSize,      &h.numSkins,         &h.numVertices,
                              &h.numSkinCoords,  &h.numTriangles,     &h.numGlCommands,
                              &h.numFrames,      &h.offsetSkins,      &h.offsetSkinCoords,
                              &h.offsetTriangles, &h.offsetFrames,    &h.offsetGlCommands,
                              &h.offsetEnd};
    std::size_t at = kMd2OfsVersion;
    for (std::int32_t* field : fields) {
        *field = in.i32(at);
        at += 4;
    }
    return h;
}

Md2Parse parseMd2(const Bytes& file) {
    Md2Parse result;
    const ByteView in(file.data(), file.size());
    if (!in.has(0, sizeof kMd2Magic) || std::memcmp(file.data(), kMd2Magic, sizeof kMd2Magic) != 0) {
        result.error = kMsgNotMd2;
        return result;
    }
    if (!in.has(0, kMd2HeaderSize)) {
        result.error = damaged("its header is cut short");
        return result;
    }
    Md2Contents& c = result.contents;
    c.header = readMd2Header(file);
    const Md2Header& h = c.header;
    result.error = checkHeader(h);
    if (result.error.empty()) result.error = checkBlocks(in, h);
    if (result.error.empty()) result.error = readTriangles(in, h, c.triangles);
    if (!result.error.empty()) {
        result.contents = {};
        return result;
    }

    c.skinNames.reserve(static_cast<std::size_t>(h.numSkins));
    for (std::int32_t i = 0; i < h.numSkins; ++i) {
        c.skinNames.push_back(fixedText(
            in, static_cast<std::size_t>(h.offsetSkins) + static_cast<std::size_t>(i) * kMd2SkinNameSize,
            kMd2SkinNameSize));
        // A name filling its whole record has lost its end, and could not be
        // written back.
        if (c.skinNames.back().size() > kMd2MaxSkinNameLength) {
            result.error = damaged("skin name " + std::to_string(i) + " has no end");
            result.contents = {};
            return result;
        }
    }

    c.skinCoords.resize(static_cast<std::size_t>(h.numSkinCoords));
    for (std::size_t i = 0; i < c.skinCoords.size(); ++i) {
        const std::size_t at = static_cast<std::size_t>(h.offsetSkinCoords) + i * kMd2SkinCoordSize;
        c.skinCoords[i] = {i16(in, at), i16(in, at + 2)};
    }
    result.error = readFrames(in, h, c.frames);
    if (!result.error.empty()) result.contents = {};
    return result;
}

void applyMd2ToMesh(Md2Contents contents, Mesh& mesh) {
    const Md2Header& h = contents.header;
    mesh.vertexCount = static_cast<std::int16_t>(h.numVertices);
    mesh.triangleCount = static_cast<std::int16_t>(h.numTriangles);
    mesh.skinWidth = static_cast<std::int16_t>(h.skinWidth);
    mesh.skinHeight = static_cast<std::int16_t>(h.skinHeight);

    // The file may list more skin coordinates than the table holds; only the
    // ones the triangles use survive the merge, and those always fit.
    for (std::size_t i = 0; i < contents.triangles.size(); ++i) {
        const Md2Triangle& in = contents.triangles[i];
        Triangle& tri = mesh.triangles[i];
        tri = Triangle{};
        tri.vertex = in.vertex;
        for (std::size_t c = 0; c < 3; ++c)
            tri.corner[c] = contents.skinCoords[static_cast<std::size_t>(in.skinCoord[c])];
    }
    RebuildMappingVerts(mesh);
    TakeMappingBackup(mesh);
    std::fill(mesh.mappingSelection.begin(), mesh.mappingSelection.end(), std::uint8_t{0});

    mesh.frames = std::move(contents.frames);
    mesh.currentFrame = 0;
    mesh.loaded = true;
    ComputeFaceNormals(mesh);
}

}  // namespace tarn
