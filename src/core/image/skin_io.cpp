#include "image/skin_io.h"

#include <cerrno>
#include <system_error>

#include "image/image_codec.h"
#include "platform/fs.h"
#include "platform/game_files.h"

namespace tarn {

namespace {

// Names from models and settings often differ in case from the files on disk.
std::string resolvePath(const std::string& path) {
    if (path.empty() || isRegularFile(path)) return path;
    if (path.front() == kSep) return resolveCaseInsensitive(std::string(1, kSep), path.substr(1));
    return resolveCaseInsensitive("", path);
}

bool sizeFits(int width, int height, std::size_t pixelBytes) {
    return imageSizeProblem(width, height) == nullptr &&
           pixelBytes == static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

bool writeReporting(Ui& ui, const std::string& path, const Bytes& bytes) {
    const int err = writeFileAtomic(path, bytes);
    if (err != 0) ui.message(errorSavingMessage(err, path));
    return err == 0;
}

using Encoder = Bytes (*)(int, int, const std::uint8_t*, const Palette&);

bool saveSkin(Ui& ui, Skin& skin, const std::string& path, Encoder encode, SkinFileType type) {
    if (!sizeFits(skin.width, skin.height, skin.pixels.size())) {
        ui.message(errorSavingMessage(EINVAL, path));
        return false;
    }
    const Bytes bytes = encode(skin.width, skin.height, skin.pixels.data(), skin.palette);
    if (bytes.empty()) {
        ui.message(errorSavingMessage(ENOMEM));
        return false;
    }
    if (!writeReporting(ui, path, bytes)) return false;
    skin.fileType = type;
    // Only the skin's own file: a copy written elsewhere is not what it shows.
    if (path == skin.filePath) skin.seeFile();
    return true;
}

// A linked Skin of the decoded file, or nullptr: silently when the palette
// choice was cancelled, after the reader's message, naming `where`, when it
// was refused.
std::unique_ptr<Skin> decodeSkin(Ui& ui, const Bytes& bytes, const ColourMatcher* matcher, const std::string& where) {
    DecodedImage decoded = decodeImage(bytes, matcher);
    if (decoded.cancelled) return nullptr;
    if (!decoded.ok()) {
        ui.message(decoded.error + "\n" + where);
        return nullptr;
    }
    auto skin = std::make_unique<Skin>();
    Image8& img = decoded.image;
    skin->hasFile = true;
    skin->external = false;
    skin->width = img.width;
    skin->height = img.height;
    skin->palette = img.palette;
    skin->fileType = img.type;
    skin->pixels = std::move(img.pixels);
    skin->backup = skin->pixels;
    skin->buildRowTable();
    return skin;
}

// The Skin `name` of a file found loose or in a PAK; nullptr when it was not
// found (silently) or could not be used.
std::unique_ptr<Skin> skinOf(Ui& ui, const GameFile& found, const std::string& name,
                             const ColourMatcher* matcher) {
    if (!found.file.ok()) {
        if (const std::string why = refusalOf(found); !why.empty()) ui.message(why);
        return nullptr;
    }
    const std::string where = found.fromPak() ? found.pakPath + " : " + name : found.loosePath;
    auto skin = decodeSkin(ui, found.file.bytes, matcher, where);
    if (!skin) return nullptr;
    skin->name = name;
    skin->filePath = absolutePath(found.loosePath);
    skin->packedIn = found.pakPath;
    if (!found.fromPak()) skin->seeFile();
    return skin;
}

}  // namespace

std::unique_ptr<Skin> LoadSkinImage(Ui& ui, const std::string& path, const ColourMatcher* matcher,
                                    int* readError) {
    const GameFile found = readGamePath(ui, resolvePath(path));
    if (readError) *readError = found.file.error;
    return skinOf(ui, found, path, matcher);
}

std::unique_ptr<Skin> LoadLinkedSkin(Ui& ui, const std::string& baseFolder, const std::string& name,
                                     const ColourMatcher* matcher) {
    return skinOf(ui, readGameFile(ui, baseFolder, name), name, matcher);
}

std::unique_ptr<Skin> LinkedSkinOf(Ui& ui, const GameFile& found, const std::string& name,
                                   const ColourMatcher* matcher) {
    return skinOf(ui, found, name, matcher);
}

bool SavePcx(Ui& ui, Skin& skin, const std::string& path) {
    return saveSkin(ui, skin, path, encodePcx, SkinFileType::Pcx);
}

bool SaveBmp(Ui& ui, Skin& skin, const std::string& path) {
    return saveSkin(ui, skin, path, encodeBmp, SkinFileType::Bmp);
}

bool SavePngSkin(Ui& ui, Skin& skin, const std::string& path) {
    return saveSkin(ui, skin, path, encodePng8, SkinFileType::Png);
}

bool SavePng8(Ui& ui, const std::string& path, int width, int height,
              const std::uint8_t* pixels, const Palette& palette) {
    if (imageSizeProblem(width, height) != nullptr || pixels == nullptr) {
        ui.message(errorSavingMessage(EINVAL, path));
        return false;
    }
    const Bytes png = encodePng8(width, height, pixels, palette);
    if (png.empty()) {
        ui.message(errorSavingMessage(ENOMEM));
        return false;
    }
    return writeReporting(ui, path, png);
}

}  // namespace tarn
