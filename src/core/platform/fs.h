#pragma once
// File and folder helpers shared by every reader and writer: native paths,
// whole-file reads, and saves that never destroy the file that was there.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarn {

#ifdef _WIN32
inline constexpr char kSep = '\\';
#else
inline constexpr char kSep = '/';
#endif

using Bytes = std::vector<std::uint8_t>;

// True for a path that names an existing folder that can be listed. This is
// what "a folder that can be made current" means here: nothing ever changes
// the process's working directory.
bool isUsableFolder(const std::string& path);
bool isRegularFile(const std::string& path);

// The text before the last separator; a root keeps its separator ("/", "C:\").
// A path without separator yields an empty string.
std::string folderOf(const std::string& path);
// The text after the last separator.
std::string fileNameOf(const std::string& path);
// The absolute, normalised form of `path` (relative paths are taken from the
// working folder); `path` itself when that cannot be worked out.
std::string absolutePath(const std::string& path);
// ASCII letters lower-cased; other bytes kept.
std::string lowerCase(std::string text);
// folder + separator + name, without doubling a separator the folder ends in.
std::string joinPath(const std::string& folder, const std::string& name);
// Turns every '/' and '\\' into the native separator.
std::string toNative(const std::string& path);

// Resolves a relative name ('/' or '\\' separated) below a folder. An exact
// match wins; otherwise each component falls back to a case-insensitive match,
// because game content often differs in case from the names the model holds.
// Returns the exact joined path when nothing matches.
std::string resolveCaseInsensitive(const std::string& folder, const std::string& relative);

// Lists the regular files of a folder whose name ends in `extension`
// (case-insensitive, e.g. ".pcx"), sorted by name.
std::vector<std::string> listFiles(const std::string& folder, const std::string& extension);

struct ReadResult {
    Bytes bytes;
    int error = 0;  // errno of the failure, 0 on success
    bool ok() const { return error == 0; }
};
ReadResult readFile(const std::string& path);

// Writes a temporary file beside `path` and renames it over the target, so a
// failure leaves the old file untouched. Returns 0 or the errno of the failure.
int writeFileAtomic(const std::string& path, const std::uint8_t* data, std::size_t size);
inline int writeFileAtomic(const std::string& path, const Bytes& data) {
    return writeFileAtomic(path, data.data(), data.size());
}

// "Error Saving: " / "Error Loading: " with the system error number and its text.
std::string errorSavingMessage(int error);
std::string errorLoadingMessage(int error);

}  // namespace tarn
