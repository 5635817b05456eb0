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

namespace {

StoredImage indexedOf(DecodedImage decoded) {
    StoredImage s;
    s.indexed = true;
    s.type = decoded.image.type;
    s.image = std::move(decoded.image);
    s.error = std::move(decoded.error);
    return s;
}

}  // namespace

StoredImage decodeStored(const Bytes& file) {
    if (looksLikePcx(file)) return looksLikeRgbPcx(file) ? decodePcx24(file) : indexedOf(decodePcx(file));
    if (looksLikeBmp(file))
        return looksLikeIndexedBmp(file) ? indexedOf(decodeBmp(file)) : decodeThroughStb(file, SkinFileType::Bmp);
    if (looksLikePng(file)) {
        StoredImage png = decodePng(file);
        png.type = SkinFileType::Png;
        return png;
    }
    if (looksLikeJpeg(file) || looksLikeTga(file)) return decodeThroughStb(file, SkinFileType::None);
    StoredImage refused;
    refused.error = kMsgNotValidSkin;
    return refused;
}

DecodedImage decodeImage(const Bytes& file, const ColourMatcher* matcher) {
    StoredImage stored = decodeStored(file);
    if (!stored.error.empty()) return DecodedImage::failed(stored.error.c_str());
    DecodedImage d;
    if (stored.indexed) {
        d.image = std::move(stored.image);
        return d;
    }
    if (matcher == nullptr || !*matcher) return DecodedImage::failed(kMsgPngNeedsPalette);
    const std::optional<ColourMatch> match = (*matcher)();
    if (!match) {
        d.cancelled = true;
        return d;
    }
    d.image.width = stored.colour.width;
    d.image.height = stored.colour.height;
    d.image.palette = match->palette;
    d.image.pixels = matchToPalette(stored.colour, *match);
    d.image.type = stored.type;
    return d;
}

}  // namespace tarn
