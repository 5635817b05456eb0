#include "model/companion.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "image/byte_view.h"
#include "image/image_codec.h"
#include "platform/ui.h"

namespace tarn {

namespace {

constexpr char kMagic[] = "IDP2";
constexpr std::size_t kMagicSize = 4;
constexpr std::size_t kHeaderSize = 68;
constexpr std::size_t kSkinNameSize = 64;
constexpr std::size_t kSkinCoordSize = 4;
constexpr std::size_t kTriangleSize = 12;
constexpr std::size_t kFrameHeaderSize = 40;  // scale, translate, 16-byte name
constexpr std::size_t kPackedVertexSize = 4;
constexpr int kCheckerCell = 4;
constexpr std::uint8_t kCheckerLight = 64;
constexpr std::uint8_t kCheckerDark = 192;

// Header fields by byte offset.
enum HeaderField : std::size_t {
    kSkinWidth = 8, kSkinHeight = 12, kSkinCount = 20, kVertexCount = 24,
    kSkinCoordCount = 28, kTriangleCount = 32, kFrameCount = 40, kSkinOffset = 44,
    kSkinCoordOffset = 48, kTriangleOffset = 52, kFrameOffset = 56,
};

float f32(const ByteView& v, std::size_t at) { return std::bit_cast<float>(v.u32(at)); }
std::int16_t i16(const ByteView& v, std::size_t at) { return static_cast<std::int16_t>(v.u16(at)); }

bool inRange(std::int32_t value, std::int32_t low, std::int32_t high) {
    return value >= low && value <= high;
}

struct Header {
    std::int32_t skinWidth, skinHeight, skinCount, vertexCount, skinCoordCount, triangleCount,
        frameCount, skinOffset, skinCoordOffset, triangleOffset, frameOffset;
};

Header readHeader(const ByteView& v) {
    return {v.i32(kSkinWidth),      v.i32(kSkinHeight),     v.i32(kSkinCount),
            v.i32(kVertexCount),    v.i32(kSkinCoordCount), v.i32(kTriangleCount),
            v.i32(kFrameCount),     v.i32(kSkinOffset),     v.i32(kSkinCoordOffset),
            v.i32(kTriangleOffset), v.i32(kFrameOffset)};
}

std::uint64_t frameBytes(const Header& h) {
    return kFrameHeaderSize + kPackedVertexSize * static_cast<std::uint64_t>(h.vertexCount);
}

// Every count within the record's capacities and every block inside the file.
bool fits(const Header& h, const ByteView& v) {
    auto block = [&](std::int32_t offset, std::uint64_t count, std::uint64_t size) {
        return offset >= 0 && v.has(static_cast<std::uint64_t>(offset), count * size);
    };
    return inRange(h.skinWidth, 0, kMaxImageWidth) &&
           inRange(h.skinHeight, 0, kMaxCompanionSkinRows) &&
           inRange(h.vertexCount, 0, kMaxFrameVertices) &&
           inRange(h.triangleCount, 0, kMaxCompanionTriangles) &&
           inRange(h.skinCoordCount, 0, kMaxMappingVerts) &&
           inRange(h.frameCount, 0, kMaxFrames) && h.skinCount >= 0 &&
           block(h.skinCoordOffset, std::uint64_t(h.skinCoordCount), kSkinCoordSize) &&
           block(h.triangleOffset, std::uint64_t(h.triangleCount), kTriangleSize) &&
           block(h.frameOffset, std::uint64_t(h.frameCount), frameBytes(h));
}

// Reads the triangles; false when one names a vertex or skin coordinate that
// does not exist.
bool readTriangles(const ByteView& v, const Header& h, Companion& c) {
    c.triangles.resize(static_cast<std::size_t>(h.triangleCount));
    for (std::size_t t = 0; t < c.triangles.size(); ++t) {
        const std::size_t at = static_cast<std::size_t>(h.triangleOffset) + t * kTriangleSize;
        for (std::size_t k = 0; k < 3; ++k) {
            const std::int16_t vertex = i16(v, at + 2 * k);
            const std::int16_t coord = i16(v, at + 6 + 2 * k);
            if (vertex < 0 || vertex >= h.vertexCount || coord < 0 || coord >= h.skinCoordCount)
                return false;
            const std::size_t st =
                static_cast<std::size_t>(h.skinCoordOffset) + std::size_t(coord) * kSkinCoordSize;
            c.triangles[t].vertex[k] = vertex;
            c.triangles[t].corner[k] = {i16(v, st), i16(v, st + 2)};
        }
    }
    return true;
}

void readFrames(const ByteView& v, const Header& h, Companion& c) {
    const auto vertices = static_cast<std::size_t>(h.vertexCount);
    c.positions.resize(static_cast<std::size_t>(h.frameCount) * vertices);
    for (std::size_t f = 0; f < static_cast<std::size_t>(h.frameCount); ++f) {
        const std::size_t at = static_cast<std::size_t>(h.frameOffset) + f * frameBytes(h);
        const Vec3f scale{f32(v, at), f32(v, at + 4), f32(v, at + 8)};
        const Vec3f translate{f32(v, at + 12), f32(v, at + 16), f32(v, at + 20)};
        for (std::size_t i = 0; i < vertices; ++i) {
            const std::size_t p = at + kFrameHeaderSize + i * kPackedVertexSize;
            c.positions[f * vertices + i] = {v.u8(p) * scale.x + translate.x,
                                             v.u8(p + 1) * scale.y + translate.y,
                                             v.u8(p + 2) * scale.z + translate.z};
        }
    }
}

// The first skin the file names, when it reads and has the companion's size.
void readNamedSkin(const ByteView& v, const Header& h, const std::string& baseFolder,
                   Companion& c) {
    if (h.skinCount < 1 || h.skinOffset < 0 ||
        !v.has(static_cast<std::uint64_t>(h.skinOffset), kSkinNameSize))
        return;
    const char* raw = reinterpret_cast<const char*>(v.at(static_cast<std::size_t>(h.skinOffset)));
    const std::string name(raw, strnlen(raw, kSkinNameSize));
    if (name.empty()) return;
    const ReadResult file = readFile(resolveCaseInsensitive(baseFolder, name));
    if (!file.ok()) return;
    DecodedImage decoded = decodeImage(file.bytes);
    if (decoded.ok())
        c.takeSkin(std::move(decoded.image.pixels), decoded.image.width, decoded.image.height);
}

}  // namespace

const Vec3f* Companion::framePositions(int frameIndex) const {
    if (frameIndex < 0 || frameIndex >= frameCount || vertexCount <= 0) return nullptr;
    return positions.data() + static_cast<std::size_t>(frameIndex) * std::size_t(vertexCount);
}

void Companion::buildRowTable() {
    rowTable.resize(static_cast<std::size_t>(std::max<int>(skinHeight, 0)));
    for (std::size_t r = 0; r < rowTable.size(); ++r)
        rowTable[r] = static_cast<std::int32_t>(r) * skinWidth;
}

bool Companion::takeSkin(std::vector<std::uint8_t> pixels, int width, int height) {
    if (width != skinWidth || height != skinHeight ||
        pixels.size() != std::size_t(width) * std::size_t(height) || pixels.empty())
        return false;
    skinPixels = std::move(pixels);
    buildRowTable();
    return true;
}

void Companion::giveCheckerboard() {
    const int w = skinWidth;
    const int h = skinHeight;
    skinPixels.assign(std::size_t(std::max(w, 0)) * std::size_t(std::max(h, 0)), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            skinPixels[std::size_t(y) * std::size_t(w) + std::size_t(x)] =
                ((x / kCheckerCell) % 2) == ((y / kCheckerCell) % 2) ? kCheckerLight
                                                                     : kCheckerDark;
    buildRowTable();
}

void Companion::computeFaceNormals(int frameIndex) {
    const Vec3f* p = framePositions(frameIndex);
    if (p == nullptr) return;
    for (auto& t : triangles)
        ComputeTriangleNormal(p[t.vertex[0]], p[t.vertex[1]], p[t.vertex[2]], t.normal);
}

std::unique_ptr<Companion> LoadCompanion(const Bytes& file, const std::string& path,
                                         const std::string& baseFolder, Ui& ui) {
    const ByteView v(file.data(), file.size());
    if (!v.has(0, kMagicSize) || std::memcmp(v.at(0), kMagic, kMagicSize) != 0) {
        ui.message(kMsgCompanionNotMd2);
        return nullptr;
    }
    if (!v.has(0, kHeaderSize)) {
        ui.message(kMsgCompanionDamaged);
        return nullptr;
    }
    const Header h = readHeader(v);
    auto c = std::make_unique<Companion>();
    if (!fits(h, v) || !readTriangles(v, h, *c)) {
        ui.message(kMsgCompanionDamaged);
        return nullptr;
    }
    c->skinWidth = static_cast<std::int16_t>(h.skinWidth);
    c->skinHeight = static_cast<std::int16_t>(h.skinHeight);
    c->vertexCount = static_cast<std::int16_t>(h.vertexCount);
    c->triangleCount = static_cast<std::int16_t>(h.triangleCount);
    c->skinCoordCount = static_cast<std::int16_t>(h.skinCoordCount);
    c->frameCount = static_cast<std::int16_t>(h.frameCount);
    c->name = path;
    readFrames(v, h, *c);
    readNamedSkin(v, h, baseFolder, *c);
    c->cameraPositions.resize(static_cast<std::size_t>(h.vertexCount));
    c->visible.reserve(c->triangles.size());
    return c;
}

}  // namespace tarn
