#pragma once
// Files of the game as the game finds them: a loose file below the base
// folder first, then the base folder's PAK files, the highest-numbered first
// ("pak2.pak" overrides "pak1.pak", which overrides "pak0.pak"). Names match
// in any case, as loose names do.
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/fs.h"
#include "platform/pak.h"

namespace tarn {

class Ui;

// The PAK files a base folder contributes at most; a game ships a handful.
// Each open one holds its whole directory in memory.
inline constexpr std::size_t kMaxPakFiles = 32;

// The PAK files of base folders, each file (however many names it has) read
// and checked once and read again only when it changes. A damaged PAK is
// skipped, and said so once; so are the PAKs past kMaxPakFiles.
class PakShelf {
public:
    // The usable PAKs of `baseFolder`, highest-numbered first. A PAK refused
    // since it last changed is named in one message through `ui`.
    std::vector<std::shared_ptr<const PakArchive>> archives(const std::string& baseFolder, Ui& ui);

    // The shelf every command uses.
    static PakShelf& shared();

private:
    struct Shelved {
        FileIdentity identity;
        std::shared_ptr<const PakArchive> archive;  // null: refused
    };
    struct IdentityHash {
        std::size_t operator()(const std::pair<std::uint64_t, std::uint64_t>& k) const {
            return std::hash<std::uint64_t>{}(k.first * 0x9E3779B97F4A7C15ull ^ k.second);
        }
    };
    std::mutex mutex_;
    // By device and inode, so that links to one file share its archive.
    std::unordered_map<std::pair<std::uint64_t, std::uint64_t>, Shelved, IdentityHash> shelved_;
    // The base folders whose surplus PAKs have been named, with how many.
    std::unordered_map<std::string, std::size_t> surplusSaid_;
};

// The PAK files directly in `folder` ("pak0.pak", "PAK12.PAK", ...), in the
// order the game searches them: highest number first.
std::vector<std::string> pakFilesOf(const std::string& folder);

// The message for the PAKs of `baseFolder` past kMaxPakFiles, which are skipped.
std::string surplusPakMessage(const std::string& baseFolder, const std::vector<std::string>& skipped);

// The message for a PAK skipped because of `reason`.
std::string damagedPakMessage(const std::string& pakPath, const std::string& reason);

struct GameFile {
    ReadResult file;
    // Where the file is, or would be, loose: what a save writes to.
    std::string loosePath;
    // The PAK it came out of; empty for a loose file.
    std::string pakPath;
    bool fromPak() const { return !pakPath.empty(); }
};

// Reads the game file `name` ('/' or '\\' separated, relative) below
// `baseFolder`: the loose file when there is one, else the first PAK of the
// folder that holds it. ENOENT when neither does. The name is confined to the
// base folder whatever ".." or root it holds; a loose entry that is not a
// regular file, or is too large, is refused (see `refusalOf`), not skipped.
GameFile readGameFile(Ui& ui, const std::string& baseFolder, const std::string& name,
                      PakShelf& shelf = PakShelf::shared());

// Reads the file at the full path `path`; when there is no such file, the
// nearest folder above it that holds PAKs is taken as the base folder and the
// rest of the path looked up in them. This is how a preference that names
// "baseq2/pics/colormap.pcx" still finds it inside "baseq2/pak0.pak".
GameFile readGamePath(Ui& ui, const std::string& path, PakShelf& shelf = PakShelf::shared());

// Why the read of `g` was refused, naming the file; empty when it was not
// refused (found, or simply missing).
std::string refusalOf(const GameFile& g);

// Creates the folders above `path` that are missing; true when its folder
// exists afterwards.
bool makeFolderFor(const std::string& path);

// What a save of a file that came out of a PAK says: where the loose file went.
std::string looseSaveMessage(const std::string& path);

// Every name in the PAKs of `baseFolder` that ends in `extension` (any case),
// each once, sorted in lower case.
std::vector<std::string> pakNamesOf(Ui& ui, const std::string& baseFolder, const std::string& extension,
                                    PakShelf& shelf = PakShelf::shared());

}  // namespace tarn
