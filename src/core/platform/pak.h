#pragma once
// Quake 2 PAK archives, read only. A PAK is a 12-byte header ("PACK", the
// directory's offset and length) and a directory of 64-byte entries (a
// NUL-terminated name in 56 bytes, the data's offset and length). The game
// keeps most of its models, skins and pictures in them.
//
// A directory is trusted with nothing: every entry is checked against the
// file (inside it, clear of the header, the directory and every other entry)
// and every name against escaping the folder it is extracted to, before any
// entry is used. A PAK that fails one check is refused whole.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/fs.h"

namespace tarn {

inline constexpr std::size_t kPakHeaderSize = 12;
inline constexpr std::size_t kPakEntrySize = 64;
inline constexpr std::size_t kPakNameSize = 56;
// Far above the game's own 4096, still a directory of only 4 MB.
inline constexpr std::size_t kMaxPakEntries = 65536;
// Nothing TARN reads out of a PAK is larger than this.
inline constexpr std::uint32_t kMaxPakEntryBytes = 64u << 20;

struct PakEntry {
    std::string name;  // as stored, '/' separated
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

struct PakHeader {
    std::uint32_t directoryOffset = 0;
    std::uint32_t directoryLength = 0;
};

// Checks the 12 header bytes against a file of `fileSize` bytes. Returns an
// empty string and fills `out` when the directory lies inside the file, or
// why it does not.
std::string readPakHeader(const std::uint8_t* header, std::size_t size, std::uint64_t fileSize,
                          PakHeader& out);

// Checks and decodes the directory bytes `header` names in a file of
// `fileSize` bytes. Returns an empty string and fills `out`, or the reason
// the directory is refused (then `out` is left empty).
std::string readPakDirectory(const std::uint8_t* directory, std::size_t size, const PakHeader& header,
                             std::uint64_t fileSize, std::vector<PakEntry>& out);

// The key names are looked up by: lower case, '\\' taken as '/'.
std::string pakKey(const std::string& name);

// One PAK file whose directory passed every check.
class PakArchive {
public:
    struct Opened {
        std::shared_ptr<const PakArchive> archive;  // null when refused
        std::string error;                          // why, when refused
    };
    // Reads and checks the header and directory of the PAK at `path`.
    static Opened open(const std::string& path);
    // Checks a whole PAK held in memory, as `open` checks a file.
    static Opened fromBytes(const std::string& path, Bytes bytes);

    const std::string& path() const { return path_; }
    const std::vector<PakEntry>& entries() const { return entries_; }
    // The entry named `name` in any case, '/' or '\\' separated; the first
    // of several with one name, as the game finds it. nullptr when absent.
    const PakEntry* find(const std::string& name) const;
    // The entry's bytes. The file is opened afresh and must still have the
    // size its directory was checked against.
    ReadResult read(const PakEntry& entry) const;

private:
    PakArchive(std::string path, std::uint64_t size, std::vector<PakEntry> entries);

    std::string path_;
    std::uint64_t size_;
    std::vector<PakEntry> entries_;
    std::unordered_map<std::string, std::size_t> index_;
    Bytes memory_;  // the whole file, for archives made from bytes
};

}  // namespace tarn
