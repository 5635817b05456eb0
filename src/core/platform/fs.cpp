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

std::string folderOf(const std::string& path) {
    auto pos = path.find_last_of("/\\");
    if (pos == std::string::npos) return {};
    // A root keeps its separator: "/x" -> "/", "C:\x" -> "C:\".
    if (pos == 0 || (pos > 0 && path[pos - 1] == ':')) return path.substr(0, pos + 1);
    return path.substr(0, pos);
}

std::string absolutePath(const std::string& path) {
    std::error_code ec;
    const auto full = std::filesystem::absolute(std::filesystem::path(path), ec);
    return ec ? path : full.lexically_normal().string();
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

ReadResult readFile(const std::string& path) {
    ReadResult r;
    std::error_code ec;
    if (fs::is_directory(fs::path(path), ec)) {
        r.error = EISDIR;
        return r;
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        r.error = errno ? errno : ENOENT;
        return r;
    }
    std::uint8_t buf[65536];
    for (;;) {
        std::size_t n = std::fread(buf, 1, sizeof buf, f);
        r.bytes.insert(r.bytes.end(), buf, buf + n);
        if (n < sizeof buf) {
            if (std::ferror(f)) r.error = errno ? errno : EIO;
            break;
        }
    }
    std::fclose(f);
    if (r.error) r.bytes.clear();
    return r;
}

int writeFileAtomic(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::string folder = folderOf(path);
    if (!folder.empty() && !isUsableFolder(folder)) return ENOENT;
    if (isUsableFolder(path)) return EISDIR;

    std::random_device rd;
    std::string tmp = path + ".tarn-" + std::to_string(rd() % 1000000) + ".tmp";
#ifndef _WIN32
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_TRUNC, 0644);
    if (fd < 0) return errno;
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            ::unlink(tmp.c_str());
            return err;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        int err = errno;
        ::unlink(tmp.c_str());
        return err;
    }
    // Keep the permissions of the file being replaced.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) ::chmod(tmp.c_str(), st.st_mode & 07777);
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        int err = errno;
        ::unlink(tmp.c_str());
        return err;
    }
    return 0;
#else
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return errno;
    bool ok = std::fwrite(data, 1, size, f) == size;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) {
        std::remove(tmp.c_str());
        return EIO;
    }
    std::error_code ec;
    fs::rename(fs::path(tmp), fs::path(path), ec);
    if (ec) {
        std::remove(tmp.c_str());
        return ec.value();
    }
    return 0;
#endif
}

std::string errorSavingMessage(int error) {
    return "Error Saving: " + std::to_string(error) + " (" + std::strerror(error) + ")";
}

std::string errorLoadingMessage(int error) {
    return "Error Loading: " + std::to_string(error) + " (" + std::strerror(error) + ")";
}

}  // namespace tarn
