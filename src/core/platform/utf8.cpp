#include "platform/utf8.h"

namespace tarn {

int utf8SequenceLength(std::string_view text) {
    if (text.empty()) return 0;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    // The second byte's range narrows for the leads that would otherwise
    // allow over-long forms, surrogates or code points past U+10FFFF.
    int length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
    else return 0;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
    for (int i = 1; i < length; ++i) {
        if (static_cast<std::size_t>(i) >= text.size()) return -1;
        const unsigned char b = byte(static_cast<std::size_t>(i));
        if (b < (i == 1 ? low : 0x80) || b > (i == 1 ? high : 0xBF)) return 0;
    }
    return length;
}

std::string escapeInvalidUtf8(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const int length = utf8SequenceLength(text);
        if (length > 0) {
            out.append(text.substr(0, static_cast<std::size_t>(length)));
            text.remove_prefix(static_cast<std::size_t>(length));
            continue;
        }
        const auto b = static_cast<unsigned char>(text.front());
        out += "\\x";
        out += kHex[b >> 4];
        out += kHex[b & 0xF];
        text.remove_prefix(1);
    }
    return out;
}

}  // namespace tarn
