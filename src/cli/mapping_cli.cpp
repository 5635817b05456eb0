#include "mapping_cli.h"

#include <ostream>

#include "cli_args.h"
#include "model/game_folder.h"
#include "image/image_codec.h"
#include "image/skin_io.h"
#include "model/md2_commands.h"
#include "platform/fs.h"

namespace tarn::cli {

std::string readOptions(const Args& args, const OptionTable& table, std::vector<std::string>& paths) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (const auto flag = table.flags.find(a); flag != table.flags.end()) {
            *flag->second = true;
        } else if (const auto value = table.values.find(a); value != table.values.end()) {
            if (i + 1 >= args.size()) return a + " needs a value";
            if (!value->second(args[++i])) return "bad value for " + a + ": '" + args[i] + "'";
        } else if (a.size() > 1 && a[0] == '-') {
            return "unknown option '" + a + "'";
        } else {
            paths.push_back(absolutePath(a));
        }
    }
    return {};
}

CliModel::CliModel(std::ostream& err, const std::string& base, const std::string& command)
    : ui_(err, "tarn-cli " + command + ": ") {
    // A model without skin names keeps none: nothing is scanned.
    settings_.setInt(kPreferences, kDirScanPromptKey, 1);
    session_ = std::make_unique<MeshSession>(ui_, settings_, base);
}

std::string CliModel::select(const std::vector<int>& triangles) {
    Mesh& m = mesh();
    for (const int t : triangles) {
        if (t < 0 || t >= m.triangleCount)
            return "triangle " + std::to_string(t) + " does not exist (the model has " +
                   std::to_string(m.triangleCount) + ")";
        m.triangles[std::size_t(t)].flags |= kTriSelected;
    }
    return {};
}

bool isSkinOutput(const std::string& path) {
    const std::string ext = lowerExtension(path);
    return ext == ".pcx" || ext == ".bmp" || ext == ".png";
}

Md2Encode CliModel::encode() const {
    return encodeMd2(session_->mesh, linkedSkinNames(session_->skins), session_->sourceImage);
}

Bytes encodeSkinByExtension(const Skin& skin, const std::string& path) {
    const std::string ext = lowerExtension(path);
    const auto encode = ext == ".png" ? encodePng8 : ext == ".bmp" ? encodeBmp : encodePcx;
    return encode(skin.width, skin.height, skin.pixels.data(), skin.palette);
}

bool writeSkinByExtension(Ui& ui, Skin& skin, const std::string& path) {
    const std::string ext = lowerExtension(path);
    if (ext == ".png") return SavePng8(ui, path, skin.width, skin.height, skin.pixels.data(), skin.palette);
    return ext == ".bmp" ? SaveBmp(ui, skin, path) : SavePcx(ui, skin, path);
}

std::string baseFor(const std::string& given, const std::string& model) {
    return given.empty() ? defaultBaseFolder(model) : given;
}

int usageError(std::ostream& err, const std::string& command, const std::string& why, const char* usage) {
    err << "tarn-cli " << command << ": " << why << "\nusage: tarn-cli " << usage << '\n';
    return kExitUsage;
}

}  // namespace tarn::cli
