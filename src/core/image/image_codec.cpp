#include "image/image_codec.h"

#include <utility>

namespace tarn {

const char* imageSizeProblem(long width, long height) {
    if (width <= 0 || height <= 0) return kMsgImageEmpty;
    if (height > kMaxImageRows) return kMsgImageTooTall;
    if (width > kMaxImageWidth) return kMsgImageTooWide;
    return nullptr;
}

bool looksLikePcx(const Bytes& file) {
    return file.size() >= 2 && file[0] == 10 && file[1] == 5;
}

bool looksLikeBmp(const Bytes& file) {
    return file.size() >= 2 && file[0] == 'B' && file[1] == 'M';
}

DecodedImage decodeImage(const Bytes& file, const ColourMatcher* matcher) {
    if (looksLikePcx(file)) return decodePcx(file);
    if (looksLikeBmp(file)) return decodeBmp(file);
    if (!looksLikePng(file)) return DecodedImage::failed(kMsgNotValidSkin);
    DecodedPng png = decodePng(file);
    if (!png.error.empty()) return DecodedImage::failed(png.error.c_str());
    DecodedImage d;
    if (png.indexed) {
        d.image = std::move(png.image);
        return d;
    }
    if (matcher == nullptr || !*matcher) return DecodedImage::failed(kMsgPngNeedsPalette);
    const std::optional<ColourMatch> match = (*matcher)();
    if (!match) {
        d.cancelled = true;
        return d;
    }
    d.image.width = png.colour.width;
    d.image.height = png.colour.height;
    d.image.palette = match->palette;
    d.image.pixels = matchToPalette(png.colour, *match);
    d.image.type = SkinFileType::Png;
    return d;
}

}  // namespace tarn
