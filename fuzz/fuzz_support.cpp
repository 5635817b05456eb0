#include "fuzz_support.h"

#include <unistd.h>

#include <filesystem>

#include "image/image_codec.h"

namespace tarn::fuzz {

std::size_t declaredPixels(const std::uint8_t* d, std::size_t size) {
    const auto le16 = [d](std::size_t at) { return std::size_t{d[at]} | std::size_t{d[at + 1]} << 8; };
    const auto le32 = [d](std::size_t at) {
        const std::uint32_t v = std::uint32_t{d[at]} | std::uint32_t{d[at + 1]} << 8 | std::uint32_t{d[at + 2]} << 16 |
                                std::uint32_t{d[at + 3]} << 24;
        const auto s = static_cast<std::int32_t>(v);
        return static_cast<std::size_t>(s < 0 ? -static_cast<std::int64_t>(s) : s);
    };
    const auto be32 = [d](std::size_t at) {
        return std::size_t{d[at]} << 24 | std::size_t{d[at + 1]} << 16 | std::size_t{d[at + 2]} << 8 | d[at + 3];
    };
    if (size >= 12 && d[0] == 0x0A) return (le16(8) - le16(4) + 1) * (le16(10) - le16(6) + 1);  // PCX
    if (size >= 26 && d[0] == 'B' && d[1] == 'M') return le32(18) * le32(22);
    if (size >= 24 && d[0] == 0x89 && d[1] == 'P') return be32(16) * be32(20);
    int width = 0, height = 0;  // TGA and JPEG, as stb_image reads their headers
    if (stbImageSize(Bytes(d, d + size), width, height)) return std::size_t(width) * std::size_t(height);
    return 0;
}

const std::string& scratchFolder() {
    // Never destroyed: the clean-up at exit still needs the name.
    static const std::string* folder = [] {
        auto* dir = new std::string((std::filesystem::temp_directory_path() /
                                     ("tarn-fuzz-" + std::to_string(::getpid()))).string());
        std::filesystem::create_directories(*dir);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(scratchFolder(), ec);
        });
        return dir;
    }();
    return *folder;
}

bool writeScratch(const std::string& path, const Bytes& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace tarn::fuzz
