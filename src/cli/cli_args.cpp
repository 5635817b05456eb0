#include "cli_args.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ostream>

#include "model/game_folder.h"
#include "platform/fs.h"
#include "render/render_modes.h"

namespace tarn::cli {

namespace {

template <class Number>
bool parseWhole(const std::string& text, Number& out) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end;
}

std::vector<std::string> split(const std::string& text, char sep) {
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == sep)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

}  // namespace

bool parseInt(const std::string& text, int& out) { return parseWhole(text, out); }

bool parseFloat(const std::string& text, float& out) { return parseWhole(text, out) && std::isfinite(out); }

bool parseVector(const std::string& text, Vec3f& out) {
    const auto parts = split(text, ',');
    return parts.size() == 3 && parseFloat(parts[0], out.x) && parseFloat(parts[1], out.y) &&
           parseFloat(parts[2], out.z);
}

bool parseSize(const std::string& text, int& w, int& h) {
    const auto parts = split(text, 'x');
    return parts.size() == 2 && parseInt(parts[0], w) && parseInt(parts[1], h);
}

bool parseList(const std::string& text, std::vector<int>& out) {
    for (const auto& part : split(text, ',')) {
        int v = 0;
        if (!parseInt(part, v)) return false;
        out.push_back(v);
    }
    return true;
}

bool parseAxis(const std::string& text, int& axis) {
    if (text.size() != 1) return false;
    const char c = char(text[0] | 0x20);
    if (c < 'x' || c > 'z') return false;
    axis = c - 'x';
    return true;
}

bool parseMode(const std::string& text, int& mode) {
    if (parseInt(text, mode)) return true;
    mode = RenderModes().indexOf(text);
    return mode >= 0;
}

std::string takeModelPath(std::string& model, const std::string& arg) {
    if (!model.empty()) return "more than one model given";
    model = absolutePath(arg);
    return {};
}

std::string requireModel(const std::string& model, std::string& base) {
    if (model.empty()) return "no model given";
    if (base.empty()) base = defaultBaseFolder(model);
    return {};
}

std::vector<std::string> filesOfSkins(const SkinList& skins) {
    std::vector<std::string> files;
    for (int i = 0; i < skins.count(); ++i)
        if (!skins.at(i)->filePath.empty()) files.push_back(skins.at(i)->filePath);
    return files;
}

bool refuseOutputsOverInputs(std::ostream& err, const std::string& command, const std::vector<std::string>& outputs,
                             const std::vector<std::string>& args, const std::vector<std::string>& modelFiles) {
    for (std::size_t o = 0; o < outputs.size(); ++o) {
        const std::string& output = outputs[o];
        const std::string place = absolutePath(output);
        // An output given on the line is itself one word of it; any other word
        // naming the same file, however spelled or linked, is an input it
        // would replace.
        const bool given = std::any_of(args.begin(), args.end(), [&](const std::string& a) { return absolutePath(a) == place; });
        const auto naming = std::count_if(args.begin(), args.end(), [&](const std::string& a) { return sameFile(a, output); });
        // A skin the model names but that is missing would be created where the
        // untouched model then finds it.
        const bool modelUses = std::any_of(modelFiles.begin(), modelFiles.end(), [&](const std::string& f) {
            return sameFile(f, output) || absolutePath(f) == place;
        });
        const bool twice = std::any_of(outputs.begin(), outputs.begin() + static_cast<std::ptrdiff_t>(o),
                                       [&](const std::string& other) { return absolutePath(other) == place; });
        const char* why = modelUses ? " is a skin of the model"
                          : naming > (given ? 1 : 0) ? " is also an input of this command"
                          : twice ? " is named for two outputs of this command"
                                  : nullptr;
        if (why == nullptr) continue;
        err << "tarn-cli " << command << ": " << output << why << "; it is left as it is. Choose another output.\n";
        return true;
    }
    return false;
}

bool refuseOutputOverInput(std::ostream& err, const std::string& command, const std::string& output,
                           const std::vector<std::string>& args, const std::vector<std::string>& modelFiles) {
    return refuseOutputsOverInputs(err, command, {output}, args, modelFiles);
}

bool writeAllOrNone(std::ostream& err, const std::string& command, const std::vector<FileToWrite>& files) {
    std::size_t failed = 0;
    const int error = writeFilesAtomic(files, &failed);
    if (error == 0) return true;
    err << "tarn-cli " << command << ": " << saveFailureLine(files[failed].path, error)
        << "\ntarn-cli " << command << ": nothing was written\n";
    return false;
}

bool takeBaseFolder(const std::string& value, std::string& base) {
    base = absolutePath(value);
    return isUsableFolder(base);
}

std::string lowerExtension(const std::string& path) {
    const std::string name = fileNameOf(path);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : lowerCase(name.substr(dot));
}

}  // namespace tarn::cli
