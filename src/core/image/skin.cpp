#include "image/skin.h"

namespace tarn {

void Skin::buildRowTable() {
    rowTable.fill(0);
    const int rows = height < kMaxImageRows ? height : kMaxImageRows;
    for (int r = 0; r < rows; ++r) rowTable[static_cast<std::size_t>(r)] = r * width;
}

bool Skin::fileChangedSinceSeen() const {
    FileIdentity now;
    if (!fileSeen || filePath.empty() || !identifyFile(filePath, now)) return false;
    return !now.sameFileAs(*fileSeen) || now.size != fileSeen->size || now.modified != fileSeen->modified;
}

void Skin::seeFile() {
    FileIdentity now;
    if (!filePath.empty() && identifyFile(filePath, now))
        fileSeen = now;
    else
        fileSeen.reset();
}

std::unique_ptr<Skin> makeBlankSkin(int width, int height) {
    auto skin = std::make_unique<Skin>();
    if (width > 0 && width <= kMaxImageWidth && height > 0 && height <= kMaxImageRows) {
        skin->width = width;
        skin->height = height;
    }
    skin->pixels.assign(skin->pixelCount(), 0);
    skin->backup = skin->pixels;
    skin->buildRowTable();
    return skin;
}

}  // namespace tarn
