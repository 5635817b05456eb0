#include "model/game_folder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/fs.h"

namespace tarn {

namespace {

bool isBaseq2(const std::string& name) {
    static const std::string kGameFolder = "baseq2";
    return name.size() == kGameFolder.size() &&
           std::equal(name.begin(), name.end(), kGameFolder.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == b;
           });
}

}  // namespace

std::string defaultBaseFolder(const std::string& modelPath) {
    namespace fs = std::filesystem;
    const fs::path model(absolutePath(modelPath));
    const fs::path own = model.parent_path();
    for (fs::path folder = own; !folder.empty(); folder = folder.parent_path()) {
        if (isBaseq2(folder.filename().string())) return folder.string();
        if (folder == folder.root_path()) break;
    }
    return own.string();
}

}  // namespace tarn
