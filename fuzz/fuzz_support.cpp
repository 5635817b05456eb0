#include "fuzz_support.h"

#include <unistd.h>

#include <filesystem>

namespace tarn::fuzz {

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
