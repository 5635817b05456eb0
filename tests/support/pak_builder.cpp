#include "pak_builder.h"

#include <algorithm>
#include <stdexcept>

namespace tarn::test {

void PakImage::putU32(std::size_t at, std::uint32_t v) {
    for (int b = 0; b < 4; ++b) bytes.at(at + std::size_t(b)) = static_cast<std::uint8_t>(v >> (8 * b));
}

void PakImage::putRawName(std::size_t i, const std::string& raw) {
    std::copy(raw.begin(), raw.end(), bytes.begin() + static_cast<std::ptrdiff_t>(entryAt(i)));
}

PakImage buildPak(const std::vector<PakItem>& items) {
    PakImage pak;
    pak.bytes = {'P', 'A', 'C', 'K', 0, 0, 0, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> offsets;
    for (const PakItem& item : items) {
        offsets.push_back(static_cast<std::uint32_t>(pak.bytes.size()));
        pak.bytes.insert(pak.bytes.end(), item.data.begin(), item.data.end());
    }
    pak.directoryOffset = pak.bytes.size();
    pak.bytes.resize(pak.directoryOffset + items.size() * 64, 0);
    pak.putU32(4, static_cast<std::uint32_t>(pak.directoryOffset));
    pak.putU32(8, static_cast<std::uint32_t>(items.size() * 64));
    for (std::size_t i = 0; i < items.size(); ++i) {
        pak.putRawName(i, items[i].name.substr(0, 55));
        pak.putU32(pak.entryAt(i) + 56, offsets[i]);
        pak.putU32(pak.entryAt(i) + 60, static_cast<std::uint32_t>(items[i].data.size()));
    }
    return pak;
}

Bytes textBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

void writePak(const std::string& path, const std::vector<PakItem>& items) {
    if (writeFileAtomic(path, buildPak(items).bytes) != 0) throw std::runtime_error("cannot write " + path);
}

}  // namespace tarn::test
