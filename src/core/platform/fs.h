#pragma once
// File and folder helpers shared by every reader and writer: native paths,
// whole-file reads, and saves that never destroy the file that was there.
#include <cerrno>
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
// True when both paths exist and name one file (symbolic links followed, hard
// links and other spellings of the path included).
bool sameFile(const std::string& a, const std::string& b);

// What tells one file from another and one state of it from the next: two
// names of one file (links, other spellings) share device and inode.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    long long modified = 0;  // nanoseconds
    bool sameFileAs(const FileIdentity& o) const { return device == o.device && inode == o.inode; }
};
// False when `path` cannot be looked at; symbolic links are followed.
bool identifyFile(const std::string& path, FileIdentity& out);

// The text before the last separator; a root keeps its separator ("/", "C:\").
// A path without separator yields an empty string.
std::string folderOf(const std::string& path);
// The text after the last separator.
std::string fileNameOf(const std::string& path);
// The absolute form of `path` as the system means it (relative paths are taken
// from the working folder): "." components go, and ".." climbs from the folder
// the system reaches, symbolic links followed, not from the text before it.
// `path` itself when that cannot be worked out.
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

// A name taken from a model file ('/' or '\\' separated) made into a relative
// path that cannot leave the folder it is resolved in: a root or drive prefix
// is dropped, "." components go, and ".." removes the component before it but
// never climbs above the start. The result uses native separators.
std::string confinedName(const std::string& name);

// Resolves a name from a model file below `folder`: confined first, then
// matched case-insensitively. Every skin and companion name goes this way.
std::string resolveBelow(const std::string& folder, const std::string& name);

// Lists the regular files of a folder whose name ends in `extension`
// (case-insensitive, e.g. ".pcx"), sorted by name.
std::vector<std::string> listFiles(const std::string& folder, const std::string& extension);

// The largest file TARN reads: the biggest image (32767 x 2048) as a PCX
// whose every pixel takes two bytes, with its header and palette, just fits.
// Anything larger is refused before a byte is read.
inline constexpr std::uint64_t kMaxReadBytes = 128ull << 20;

// The cause readFile gives a path that is not a regular file (a device, a
// pipe, a socket): reading one could block or never end.
inline constexpr int kErrNotRegularFile = ENODEV;

struct ReadResult {
    Bytes bytes;
    int error = 0;  // errno of the failure, 0 on success
    bool ok() const { return error == 0; }
    // True when the file exists but is not something TARN reads: not a
    // regular file, or larger than kMaxReadBytes. (A folder fails as EISDIR,
    // like a file that is not there.)
    bool refused() const;
};
// Reads a whole regular file of at most kMaxReadBytes. The type and size are
// taken from the open descriptor, so a name swapped between a check and the
// read cannot slip a device or a pipe in; opening never waits for a writer.
ReadResult readFile(const std::string& path);
// Why readFile refused `path`, naming it; empty for ordinary failures (a file
// that does not exist or cannot be opened), which callers report their way.
std::string readRefusalMessage(const std::string& path, int error);
// `text`, with the refusal on a second line when readFile refused the file.
std::string withReadRefusal(const std::string& text, const std::string& path, int error);
// Why a read of `path` failed: the refusal when readFile refused it (its errno
// stands in for a cause that has none), the "Error Loading" text otherwise.
std::string readFailureMessage(const std::string& path, int error);
// The same on one line that names the path once, for command-line reports.
std::string readFailureLine(const std::string& path, int error);

// Writes a temporary file beside `path` and renames it over the target, so a
// failure leaves the old file untouched. A symbolic link is written through
// (the file it names is replaced, the link stays); a file without any write
// permission is not replaced (EACCES), nor is anything but a regular file
// (kErrNotRegularFile). Returns 0 or the errno of the failure.
int writeFileAtomic(const std::string& path, const std::uint8_t* data, std::size_t size);
inline int writeFileAtomic(const std::string& path, const Bytes& data) {
    return writeFileAtomic(path, data.data(), data.size());
}

// Several files that belong together (a model and its skins): each is written
// whole beside its target first, and only when all of them are do they
// replace their targets, so a failure leaves every target as it was. Returns
// 0, or the errno of the failure with the index of the file in `failed`.
struct FileToWrite {
    std::string path;
    Bytes bytes;
};
int writeFilesAtomic(const std::vector<FileToWrite>& files, std::size_t* failed = nullptr);

// The call that flushes a written temporary file to disk before it replaces
// the target (fsync); tests put a failing one in. Returns the previous one;
// nullptr restores the real call.
using FlushFunction = int (*)(int fd);
FlushFunction setFlushFunction(FlushFunction flush);

// "Error Saving: " / "Error Loading: " with the system error number and its
// text; the save message names the file on a second line when given one. A
// target that is not a regular file (kErrNotRegularFile) is said so instead.
std::string errorSavingMessage(int error, const std::string& path = {});
// The same on one line that names the path once, for command-line reports.
std::string saveFailureLine(const std::string& path, int error);
std::string errorLoadingMessage(int error);

}  // namespace tarn
