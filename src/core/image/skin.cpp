#include "image/skin.h"

namespace tarn {

void Skin::buildRowTable() {
    rowTable.fill(0);
    const int rows = height < kMaxImageRows ? height : kMaxImageRows;
    for (int r = 0; r < rows; ++r) rowTable[static_cast<std::size_t>(r)] = r * width;
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
