#include "model/companion.h"

#include <algorithm>
#include <cstring>

#include "image/image_codec.h"
#include "model/md2_format.h"
#include "platform/game_files.h"
#include "platform/ui.h"

namespace tarn {

namespace {

constexpr std::size_t kMagicSize = sizeof(kMd2Magic);
constexpr int kCheckerCell = 4;
constexpr std::uint8_t kCheckerLight = 64;
constexpr std::uint8_t kCheckerDark = 192;

bool fitsRecord(const Md2Header& h) {
    return h.skinWidth >= 0 && h.skinWidth <= kMaxImageWidth && h.skinHeight >= 0 &&
           h.skinHeight <= kMaxCompanionSkinRows && h.numTriangles <= kMaxCompanionTriangles;
}

// The first skin the file names, when it reads and has the companion's size.
void readNamedSkin(Ui& ui, const std::string& name, const std::string& baseFolder, Companion& c) {
    const GameFile found = readGameFile(ui, baseFolder, name);
    if (!found.file.ok()) {
        if (const std::string why = refusalOf(found); !why.empty()) ui.message(why);
        return;
    }
    const ReadResult& file = found.file;
    DecodedImage decoded = decodeImage(file.bytes);
    if (decoded.ok() && c.takeSkin(std::move(decoded.image.pixels), decoded.image.width, decoded.image.height) &&
        !found.fromPak())
        c.skinFile = found.loosePath;
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
    skinFile.clear();
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
    if (file.size() < kMagicSize || std::memcmp(file.data(), kMd2Magic, kMagicSize) != 0) {
        ui.message(kMsgCompanionNotMd2);
        return nullptr;
    }
    Md2Parse parse = parseMd2(file);
    if (!parse.ok() || !fitsRecord(parse.contents.header)) {
        ui.message(kMsgCompanionDamaged);
        return nullptr;
    }
    const Md2Contents& md2 = parse.contents;
    auto c = std::make_unique<Companion>();
    c->skinWidth = static_cast<std::int16_t>(md2.header.skinWidth);
    c->skinHeight = static_cast<std::int16_t>(md2.header.skinHeight);
    c->vertexCount = static_cast<std::int16_t>(md2.header.numVertices);
    c->triangleCount = static_cast<std::int16_t>(md2.triangles.size());
    c->skinCoordCount = static_cast<std::int16_t>(md2.skinCoords.size());
    c->frameCount = static_cast<std::int16_t>(md2.frames.size());
    c->name = path;
    c->triangles.resize(md2.triangles.size());
    for (std::size_t t = 0; t < md2.triangles.size(); ++t) {
        c->triangles[t].vertex = md2.triangles[t].vertex;
        for (std::size_t k = 0; k < 3; ++k)
            c->triangles[t].corner[k] = md2.skinCoords[std::size_t(md2.triangles[t].skinCoord[k])];
    }
    c->positions.reserve(md2.frames.size() * std::size_t(c->vertexCount));
    for (const Frame& frame : md2.frames)
        c->positions.insert(c->positions.end(), frame.positions.begin(), frame.positions.end());
    if (!md2.skinNames.empty()) readNamedSkin(ui, md2.skinNames.front(), baseFolder, *c);
    c->cameraPositions.resize(std::size_t(c->vertexCount));
    c->visible.reserve(c->triangles.size());
    return c;
}

}  // namespace tarn
