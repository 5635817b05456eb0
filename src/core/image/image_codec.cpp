#include "image/image_codec.h"

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

DecodedImage decodeImage(const Bytes& file) {
    if (looksLikePcx(file)) return decodePcx(file);
    if (looksLikeBmp(file)) return decodeBmp(file);
    return DecodedImage::failed(kMsgNotValidSkin);
}

}  // namespace tarn
