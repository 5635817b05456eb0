#include "platform/fs.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace tarn {

namespace {

bool isSep(char c) { return c == '/' || c == '\\'; }

}  // namespace

bool isUsableFolder(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    if (!fs::is_directory(fs::path(path), ec)) return false;
    fs::directory_iterator it(fs::path(path), ec);
    return !ec;
}

bool isRegularFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(fs::path(path), ec);
}

#ifndef _WIN32
bool identifyFile(const std::string& path, FileIdentity& out) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    out.device = static_cast<std::uint64_t>(st.st_dev);
    out.inode = static_cast<std::uint64_t>(st.st_ino);
    out.size = static_cast<std::uint64_t>(st.st_size);
    out.modified = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    return true;
}
#else
bool identifyFile(const std::string& path, FileIdentity& out) {
    // Without inodes at hand, the absolute path stands for the file.
    std::error_code ec;
    out.size = fs::file_size(fs::path(path), ec);
    if (ec) return false;
    out.device = 0;
    out.inode = std::hash<std::string>{}(absolutePath(path));
    out.modified = static_cast<long long>(fs::last_write_time(fs::path(path), ec).time_since_epoch().count());
    return true;
}
#endif

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::equivalent(fs::path(a), fs::path(b), ec) && !ec;
}

std::string folderOf(const std::string& path) {
    auto pos = path.find_last_of("/\\");
    if (pos == std::string::npos) return {};
    // A root keeps its separator: "/x" -> "/", "C:\x" -> "C:\".
    if (pos == 0 || (pos > 0 && path[pos - 1] == ':')) return path.substr(0, pos + 1);
    return path.substr(0, pos);
}

std::string absolutePath(const std::string& path) {
    std::error_code ec;
    const fs::path full = fs::absolute(fs::path(path), ec);
    if (ec) return path;
    // "." and doubled separators mean nothing to the system and go. A ".."
    // climbs out of wherever the system finds the folder before it, which is
    // not the text before it when that folder is a symbolic link: the part up
    // to the last ".." is resolved by the system itself.
    fs::path head, tail;
    for (const fs::path& part : full) {
        if (part == "." || part.empty()) continue;
        if (part == "..") {
            head /= tail;
            head /= part;
            tail.clear();
        } else {
            tail /= part;
        }
    }
    if (head.empty()) return tail.string();
    // Where the folder is missing the system cannot climb either: the text stays.
    fs::path real = fs::canonical(head, ec);
    if (ec) real = head;
    return (tail.empty() ? real : real / tail).string();
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string fileNameOf(const std::string& path) {
    auto pos = path.find_last_of("/\\");
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (isSep(folder.back())) return folder + name;
    return folder + kSep + name;
}

std::string toNative(const std::string& path) {
    std::string out = path;
    for (char& c : out)
        if (isSep(c)) c = kSep;
    return out;
}

std::string resolveCaseInsensitive(const std::string& folder, const std::string& relative) {
    std::string exact = joinPath(folder, toNative(relative));
    if (isRegularFile(exact)) return exact;

    std::vector<std::string> parts;
    std::string cur;
    for (char c : relative) {
        if (isSep(c)) {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);

    std::string at = folder;
    for (const auto& part : parts) {
        std::string direct = joinPath(at, part);
        std::error_code ec;
        if (fs::exists(fs::path(direct), ec)) {
            at = direct;
            continue;
        }
        std::string want = lowerCase(part);
        std::string found;
        fs::directory_iterator it(fs::path(at.empty() ? "." : at), ec);
        if (ec) return exact;
        std::vector<std::string> candidates;
        for (const auto& entry : it) {
            std::string name = entry.path().filename().string();
            if (lowerCase(name) == want) candidates.push_back(name);
        }
        if (candidates.empty()) return exact;
        std::sort(candidates.begin(), candidates.end());  // deterministic when several differ only in case
        at = joinPath(at, candidates.front());
    }
    return at;
}

std::string confinedName(const std::string& name) {
    std::string rest = name;
    // A drive prefix ("C:") names another root; what follows it is kept.
    if (rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0])))
        rest.erase(0, 2);
    std::vector<std::string> parts;
    std::string cur;
    auto take = [&] {
        if (cur == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!cur.empty() && cur != ".") {
            parts.push_back(cur);
        }
        cur.clear();
    };
    for (char c : rest) {
        if (isSep(c)) take();
        else cur += c;
    }
    take();
    std::string out;
    for (const std::string& part : parts) out = out.empty() ? part : out + kSep + part;
    return out;
}

std::string resolveBelow(const std::string& folder, const std::string& name) {
    return resolveCaseInsensitive(folder, confinedName(name));
}

std::vector<std::string> listFiles(const std::string& folder, const std::string& extension) {
    std::vector<std::string> out;
    std::error_code ec;
    fs::directory_iterator it(fs::path(folder), ec);
    if (ec) return out;
    std::string ext = lowerCase(extension);
    for (const auto& entry : it) {
        std::error_code fec;
        if (!entry.is_regular_file(fec)) continue;
        std::string name = entry.path().filename().string();
        if (name.size() >= ext.size() && lowerCase(name.substr(name.size() - ext.size())) == ext)
            out.push_back(joinPath(folder, name));
    }
    std::sort(out.begin(), out.end());
    return out;
}

bool ReadResult::refused() const {
    return error == EFBIG || error == kErrNotRegularFile;
}

std::string readRefusalMessage(const std::string& path, int error) {
    switch (error) {
        case kErrNotRegularFile:
            return path + " is not a regular file (a device, a pipe or a socket); TARN reads only files.";
        case EFBIG:
            return path + " is larger than " + std::to_string(kMaxReadBytes >> 20) +
                   " MB, more than any file TARN reads.";
        default: return {};
    }
}

std::string withReadRefusal(const std::string& text, const std::string& path, int error) {
    const std::string why = readRefusalMessage(path, error);
    return why.empty() ? text : text + "\n" + why;
}

std::string readFailureMessage(const std::string& path, int error) {
    const std::string why = readRefusalMessage(path, error);
    return why.empty() ? errorLoadingMessage(error) : why;
}

std::string readFailureLine(const std::string& path, int error) {
    const std::string why = readRefusalMessage(path, error);
    return why.empty() ? path + ": " + errorLoadingMessage(error) : why;
}

#ifndef _WIN32
namespace {

int classify(const struct stat& st) {
    if (S_ISDIR(st.st_mode)) return EISDIR;
    if (!S_ISREG(st.st_mode)) return kErrNotRegularFile;
    if (static_cast<std::uint64_t>(st.st_size) > kMaxReadBytes) return EFBIG;
    return 0;
}

}  // namespace

ReadResult readFile(const std::string& path) {
    ReadResult r;
    // Non-blocking so that opening a pipe does not wait for a writer; the
    // descriptor is checked before anything is read from it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        r.error = errno ? errno : ENOENT;
        return r;
    }
    struct stat st {};
    r.error = ::fstat(fd, &st) != 0 ? errno : classify(st);
    if (r.error == 0) {
        r.bytes.resize(static_cast<std::size_t>(st.st_size));
        std::size_t done = 0;
        for (;;) {
            // A file that grew since fstat is read on, up to the cap.
            if (done == r.bytes.size()) {
                if (done >= kMaxReadBytes + 1) break;
                r.bytes.resize(std::min<std::size_t>(done + 65536, kMaxReadBytes + 1));
            }
            const ssize_t n = ::read(fd, r.bytes.data() + done, r.bytes.size() - done);
            if (n < 0) {
                if (errno == EINTR) continue;
                r.error = errno;
                break;
            }
            if (n == 0) break;
            done += static_cast<std::size_t>(n);
        }
        r.bytes.resize(done);
        if (r.error == 0 && done > kMaxReadBytes) r.error = EFBIG;
    }
    ::close(fd);
    if (r.error) Bytes().swap(r.bytes);
    return r;
}
#else
ReadResult readFile(const std::string& path) {
    ReadResult r;
    std::error_code ec;
    const fs::file_status status = fs::status(fs::path(path), ec);
    if (!ec && fs::is_directory(status)) r.error = EISDIR;
    else if (!ec && fs::exists(status) && !fs::is_regular_file(status)) r.error = kErrNotRegularFile;
    else if (!ec && fs::exists(status) && fs::file_size(fs::path(path), ec) > kMaxReadBytes) r.error = EFBIG;
    if (r.error) return r;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        r.error = errno ? errno : ENOENT;
        return r;
    }
    std::uint8_t buf[65536];
    for (;;) {
        std::size_t n = std::fread(buf, 1, sizeof buf, f);
        r.bytes.insert(r.bytes.end(), buf, buf + n);
        if (r.bytes.size() > kMaxReadBytes) {
            r.error = EFBIG;
            break;
        }
        if (n < sizeof buf) {
            if (std::ferror(f)) r.error = errno ? errno : EIO;
            break;
        }
    }
    std::fclose(f);
    if (r.error) Bytes().swap(r.bytes);
    return r;
}
#endif

#ifndef _WIN32
namespace {

int (*g_flush)(int) = ::fsync;

// The file a save of `path` really replaces: symbolic links are followed to
// the file they name (which need not exist yet), as editors do, so the link
// itself stays.
std::string saveTarget(const std::string& path) {
    std::string at = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(fs::path(at), ec)) || ec) return at;
        const fs::path next = fs::read_symlink(fs::path(at), ec);
        if (ec) return at;
        at = next.is_absolute() ? next.string() : joinPath(folderOf(at), next.string());
    }
    return at;
}

}  // namespace

FlushFunction setFlushFunction(FlushFunction flush) {
    FlushFunction previous = g_flush;
    g_flush = flush ? flush : ::fsync;
    return previous;
}

namespace {

// A file written whole beside its target, not yet renamed over it.
struct StagedFile {
    std::string tmp;
    std::string target;
};

int stageFile(const std::string& path, const std::uint8_t* data, std::size_t size, StagedFile& staged) {
    const std::string target = saveTarget(path);
    std::string folder = folderOf(target);
    // A folder one may write in but not list is still a folder to save in;
    // creating the temporary file there gives the real reason when it is not.
    std::error_code ec;
    if (!folder.empty() && !fs::is_directory(fs::path(folder), ec)) return ec ? ec.value() : ENOTDIR;
    if (isUsableFolder(target)) return EISDIR;
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    // Renaming over a device node, a pipe or a socket would replace it with a
    // plain file: whatever the user named there is not TARN's to remove.
    if (replacing && !S_ISREG(old.st_mode)) return kErrNotRegularFile;
    // A file nobody may write is one the user protected: it is not replaced
    // behind their back, even where the folder would allow it.
    if (replacing && (old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return EACCES;

    // A short name beside the target: the target's own name may already be
    // as long as the file system allows.
    std::string tmp = joinPath(folder.empty() ? std::string(".") : folder, ".tarn-XXXXXX");
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) return errno;
    int err = 0;
    std::size_t done = 0;
    while (done < size && err == 0) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno != EINTR) err = errno;
        if (n > 0) done += static_cast<std::size_t>(n);
    }
    if (err == 0 && g_flush(fd) != 0) err = errno ? errno : EIO;
    // The descriptor is closed whatever happened before.
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0) {
        // The replacement keeps the permissions of the file it replaces; a new
        // file gets the usual ones.
        const mode_t mode = replacing ? (old.st_mode & 07777) : 0644;
        if (::chmod(tmp.c_str(), mode) != 0) err = errno;
    }
    if (err != 0) {
        ::unlink(tmp.c_str());
        return err;
    }
    staged = StagedFile{tmp, target};
    return 0;
}

}  // namespace

int writeFileAtomic(const std::string& path, const std::uint8_t* data, std::size_t size) {
    StagedFile staged;
    if (const int err = stageFile(path, data, size, staged); err != 0) return err;
    if (std::rename(staged.tmp.c_str(), staged.target.c_str()) == 0) return 0;
    const int err = errno;
    ::unlink(staged.tmp.c_str());
    return err;
}

int writeFilesAtomic(const std::vector<FileToWrite>& files, std::size_t* failed) {
    // Every file is written whole beside its target before any replaces one:
    // what can fail (space, permissions, a folder that is not there) fails
    // while nothing has changed yet.
    std::vector<StagedFile> staged(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        const int err = stageFile(files[i].path, files[i].bytes.data(), files[i].bytes.size(), staged[i]);
        if (err == 0) continue;
        for (std::size_t k = 0; k < i; ++k) ::unlink(staged[k].tmp.c_str());
        if (failed) *failed = i;
        return err;
    }
    for (std::size_t i = 0; i < staged.size(); ++i) {
        if (std::rename(staged[i].tmp.c_str(), staged[i].target.c_str()) == 0) continue;
        const int err = errno;
        for (std::size_t k = i; k < staged.size(); ++k) ::unlink(staged[k].tmp.c_str());
        if (failed) *failed = i;
        return err;
    }
    return 0;
}
#else
FlushFunction setFlushFunction(FlushFunction flush) { return flush; }

int writeFileAtomic(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::string folder = folderOf(path);
    if (!folder.empty() && !isUsableFolder(folder)) return ENOENT;
    if (isUsableFolder(path)) return EISDIR;
    std::error_code ec;
    const fs::file_status status = fs::status(fs::path(path), ec);
    if (!ec && fs::exists(status) && !fs::is_regular_file(status)) return kErrNotRegularFile;
    const auto perms = status.permissions();
    if (!ec && fs::exists(fs::path(path), ec) && (perms & fs::perms::owner_write) == fs::perms::none)
        return EACCES;
    std::random_device rd;
    const std::string tmp = joinPath(folder.empty() ? std::string(".") : folder,
                                     ".tarn-" + std::to_string(rd() % 1000000));
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return errno;
    bool ok = std::fwrite(data, 1, size, f) == size;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) {
        std::remove(tmp.c_str());
        return EIO;
    }
    fs::rename(fs::path(tmp), fs::path(path), ec);
    if (ec) {
        std::remove(tmp.c_str());
        return ec.value();
    }
    return 0;
}

int writeFilesAtomic(const std::vector<FileToWrite>& files, std::size_t* failed) {
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (const int err = writeFileAtomic(files[i].path, files[i].bytes); err != 0) {
            if (failed) *failed = i;
            return err;
        }
    }
    return 0;
}
#endif

std::string writeRefusalMessage(const std::string& path, int error) {
    if (error != kErrNotRegularFile) return {};
    return (path.empty() ? std::string("The target") : path) +
           " is not a regular file (a device, a pipe or a socket); TARN writes only to files.";
}

std::string errorSavingMessage(int error, const std::string& path) {
    if (const std::string why = writeRefusalMessage(path, error); !why.empty()) return "Error Saving: " + why;
    std::string text = "Error Saving: " + std::to_string(error) + " (" + std::strerror(error) + ")";
    return path.empty() ? text : text + "\n" + path;
}

std::string saveFailureLine(const std::string& path, int error) {
    const std::string why = writeRefusalMessage(path, error);
    return why.empty() ? path + ": " + errorSavingMessage(error) : why;
}

std::string errorLoadingMessage(int error) {
    return "Error Loading: " + std::to_string(error) + " (" + std::strerror(error) + ")";
}

}  // namespace tarn
