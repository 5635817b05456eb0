#include "platform/pak.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <filesystem>
#include <fstream>
#endif

namespace tarn {

namespace {

constexpr char kPakMagic[4] = {'P', 'A', 'C', 'K'};
constexpr std::size_t kEntryOffsetField = kPakNameSize;
constexpr std::size_t kEntryLengthField = kPakNameSize + 4;

std::uint32_t u32At(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The file's offsets and lengths are signed 32-bit fields; a negative one is
// a lie whatever the file size.
bool isNegative(std::uint32_t field) { return (field & 0x80000000u) != 0; }

// Why `name` may not be used as a path below a folder, or nullptr. The name
// must end inside its field (a name without its NUL runs into the offset),
// be relative, and hold no component that climbs or is empty.
const char* nameProblem(const std::uint8_t* field, std::string& name) {
    const auto* end = static_cast<const std::uint8_t*>(std::memchr(field, 0, kPakNameSize));
    if (!end) return "a name without its end";
    name.assign(reinterpret_cast<const char*>(field), static_cast<std::size_t>(end - field));
    if (name.empty()) return "an empty name";
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F || c == ':') return "a name with a control character or a drive";
    if (name.front() == '/' || name.front() == '\\') return "an absolute name";
    std::size_t start = 0;
    for (;;) {
        const std::size_t sep = name.find_first_of("/\\", start);
        const std::string part = name.substr(start, sep == std::string::npos ? std::string::npos : sep - start);
        if (part.empty() || part == "." || part == "..") return "a name that leaves its folder";
        if (sep == std::string::npos) return nullptr;
        start = sep + 1;
    }
}

struct Range {
    std::uint64_t begin;
    std::uint64_t end;
};

// Every non-empty range must be clear of every other one: overlapping data
// would let a small file stand for a large one.
bool rangesOverlap(std::vector<Range> ranges) {
    std::sort(ranges.begin(), ranges.end(), [](const Range& a, const Range& b) { return a.begin < b.begin; });
    for (std::size_t i = 1; i < ranges.size(); ++i)
        if (ranges[i].begin < ranges[i - 1].end) return true;
    return false;
}

#ifndef _WIN32
// An open file descriptor that is a regular file, with its size.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::string& path) {
        // Non-blocking, so a FIFO in the PAK's place cannot hang the open.
        fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0) {
            error_ = errno ? errno : ENOENT;
            return;
        }
        struct stat st {};
        if (::fstat(fd_, &st) != 0) {
            error_ = errno;
        } else if (!S_ISREG(st.st_mode)) {
            error_ = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        } else {
            size_ = static_cast<std::uint64_t>(st.st_size);
        }
    }
    ~ReadOnlyFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    int error() const { return error_; }
    std::uint64_t size() const { return size_; }
    // Reads exactly `count` bytes at `offset`; the errno of a failure, or 0.
    int read(std::uint64_t offset, std::size_t count, Bytes& out) const {
        out.resize(count);
        std::size_t done = 0;
        while (done < count) {
            const ssize_t n = ::pread(fd_, out.data() + done, count - done, static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return n < 0 ? errno : EIO;
            done += static_cast<std::size_t>(n);
        }
        return 0;
    }

private:
    int fd_ = -1;
    int error_ = 0;
    std::uint64_t size_ = 0;
};
#else
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::string& path) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(std::filesystem::path(path), ec)) {
            error_ = ENOENT;
            return;
        }
        file_.open(path, std::ios::binary);
        if (!file_) {
            error_ = ENOENT;
            return;
        }
        file_.seekg(0, std::ios::end);
        size_ = static_cast<std::uint64_t>(file_.tellg());
    }
    int error() const { return error_; }
    std::uint64_t size() const { return size_; }
    int read(std::uint64_t offset, std::size_t count, Bytes& out) const {
        out.resize(count);
        file_.clear();
        file_.seekg(static_cast<std::streamoff>(offset));
        file_.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(count));
        return file_.gcount() == static_cast<std::streamsize>(count) ? 0 : EIO;
    }

private:
    mutable std::ifstream file_;
    int error_ = 0;
    std::uint64_t size_ = 0;
};
#endif

}  // namespace

std::string readPakHeader(const std::uint8_t* header, std::size_t size, std::uint64_t fileSize,
                          PakHeader& out) {
    if (size < kPakHeaderSize || fileSize < kPakHeaderSize) return "the file is too short for a PAK";
    if (std::memcmp(header, kPakMagic, sizeof kPakMagic) != 0) return "the file is not a PAK";
    const std::uint32_t offset = u32At(header + 4);
    const std::uint32_t length = u32At(header + 8);
    if (isNegative(offset) || isNegative(length)) return "the directory has a negative offset or length";
    if (length % kPakEntrySize != 0) return "the directory is not a whole number of entries";
    if (length / kPakEntrySize > kMaxPakEntries) return "the directory holds too many entries";
    if (offset < kPakHeaderSize && length > 0) return "the directory overlaps the header";
    if (std::uint64_t(offset) + length > fileSize) return "the directory runs past the end of the file";
    out.directoryOffset = offset;
    out.directoryLength = length;
    return {};
}

std::string readPakDirectory(const std::uint8_t* directory, std::size_t size, const PakHeader& header,
                             std::uint64_t fileSize, std::vector<PakEntry>& out) {
    out.clear();
    if (size != header.directoryLength) return "the directory is cut short";
    const std::size_t count = size / kPakEntrySize;
    std::vector<PakEntry> entries(count);
    std::vector<Range> ranges{{0, kPakHeaderSize}};
    if (size > 0) ranges.push_back({header.directoryOffset, std::uint64_t(header.directoryOffset) + size});
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* field = directory + i * kPakEntrySize;
        PakEntry& e = entries[i];
        if (const char* problem = nameProblem(field, e.name)) return std::string("an entry has ") + problem;
        e.offset = u32At(field + kEntryOffsetField);
        e.length = u32At(field + kEntryLengthField);
        if (isNegative(e.offset) || isNegative(e.length))
            return "\"" + e.name + "\" has a negative offset or length";
        if (std::uint64_t(e.offset) + e.length > fileSize) return "\"" + e.name + "\" runs past the end of the file";
        if (e.length > kMaxPakEntryBytes) return "\"" + e.name + "\" is too large";
        if (e.length > 0) ranges.push_back({e.offset, std::uint64_t(e.offset) + e.length});
    }
    if (rangesOverlap(std::move(ranges))) return "entries overlap each other or the directory";
    out = std::move(entries);
    return {};
}

std::string pakKey(const std::string& name) {
    std::string key = lowerCase(name);
    std::replace(key.begin(), key.end(), '\\', '/');
    return key;
}

PakArchive::PakArchive(std::string path, std::uint64_t size, std::vector<PakEntry> entries)
    : path_(std::move(path)), size_(size), entries_(std::move(entries)) {
    for (std::size_t i = 0; i < entries_.size(); ++i) index_.emplace(pakKey(entries_[i].name), i);
}

PakArchive::Opened PakArchive::open(const std::string& path) {
    ReadOnlyFile file(path);
    if (file.error()) return {nullptr, std::strerror(file.error())};
    Bytes header;
    if (file.size() >= kPakHeaderSize && file.read(0, kPakHeaderSize, header) != 0)
        return {nullptr, "the header cannot be read"};
    PakHeader h;
    std::string error = readPakHeader(header.data(), header.size(), file.size(), h);
    if (!error.empty()) return {nullptr, error};
    Bytes directory;
    if (file.read(h.directoryOffset, h.directoryLength, directory) != 0)
        return {nullptr, "the directory cannot be read"};
    std::vector<PakEntry> entries;
    error = readPakDirectory(directory.data(), directory.size(), h, file.size(), entries);
    if (!error.empty()) return {nullptr, error};
    return {std::shared_ptr<const PakArchive>(new PakArchive(path, file.size(), std::move(entries))), {}};
}

PakArchive::Opened PakArchive::fromBytes(const std::string& path, Bytes bytes) {
    PakHeader h;
    std::string error = readPakHeader(bytes.data(), bytes.size(), bytes.size(), h);
    if (!error.empty()) return {nullptr, error};
    std::vector<PakEntry> entries;
    error = readPakDirectory(bytes.data() + h.directoryOffset, h.directoryLength, h, bytes.size(), entries);
    if (!error.empty()) return {nullptr, error};
    auto archive = std::shared_ptr<PakArchive>(new PakArchive(path, bytes.size(), std::move(entries)));
    archive->memory_ = std::move(bytes);
    return {archive, {}};
}

const PakEntry* PakArchive::find(const std::string& name) const {
    const auto it = index_.find(pakKey(name));
    return it == index_.end() ? nullptr : &entries_[it->second];
}

ReadResult PakArchive::read(const PakEntry& entry) const {
    ReadResult r;
    if (!memory_.empty()) {
        r.bytes.assign(memory_.begin() + entry.offset, memory_.begin() + entry.offset + entry.length);
        return r;
    }
    ReadOnlyFile file(path_);
    // The directory was checked against a file of this size; another file
    // may have taken its place since.
    if (file.error() == 0 && file.size() != size_) {
        r.error = ESTALE;
        return r;
    }
    r.error = file.error() ? file.error() : file.read(entry.offset, entry.length, r.bytes);
    if (r.error) r.bytes.clear();
    return r;
}

}  // namespace tarn
