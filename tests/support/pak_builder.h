#pragma once
// PAK files made in the tests: a list of named contents laid out as the game's
// tools lay them out (header, data, directory at the end), with the raw
// directory fields open to be bent into hostile shapes.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/fs.h"

namespace tarn::test {

struct PakItem {
    std::string name;  // written into the 56-byte field as given (cut to fit)
    Bytes data;
};

struct PakImage {
    Bytes bytes;
    // Byte offset of directory entry `i` in `bytes`.
    std::size_t entryAt(std::size_t i) const { return directoryOffset + i * 64; }
    std::size_t directoryOffset = 0;

    void putU32(std::size_t at, std::uint32_t v);
    // Overwrites entry `i`'s name field with exactly these bytes (no NUL added).
    void putRawName(std::size_t i, const std::string& raw);
};

PakImage buildPak(const std::vector<PakItem>& items);
Bytes textBytes(const std::string& text);
// Writes the PAK of `items` to `path`.
void writePak(const std::string& path, const std::vector<PakItem>& items);

}  // namespace tarn::test
