// tarn-cli make-sample DIR: writes TARN's own sample content, all generated
// here: a game folder DIR/baseq2 with Tarnbot (an animated robot with two
// skins) and its blaster as a companion, a colormap for the sample palette,
// phong maps in DIR/phongs and environment maps in DIR/enviros, and DIR/MODEL
// naming the robot relative to DIR/baseq2.
// tarn-cli make-content DIR: the default content TARN installs beside itself
// and its preferences point at: DIR/colormap.pcx, DIR/phongs, DIR/enviros.
#include <filesystem>
#include <ostream>

#include "cli_commands.h"
#include "image/image_codec.h"
#include "platform/fs.h"
#include "sample_maps.h"
#include "sample_palette.h"
#include "sample_robot.h"

namespace tarn::cli {

namespace {

using namespace sample;

constexpr const char* kRobotFolder = "models/tarnbot";
constexpr const char* kModelListFile = "MODEL";

// The files of one make-sample or make-content run, gathered before any is
// written: the target folder may be a game's own (its pics/colormap.pcx, say),
// so nothing there is replaced unless --force asks for it, and a refusal
// leaves every file as it was.
class SampleWriter {
public:
    SampleWriter(const std::string& root, std::ostream& out, std::ostream& err)
        : root_(root), out_(out), err_(err) {}

    void write(const std::string& relative, const Bytes& bytes) {
        files_.push_back({joinPath(root_, toNative(relative)), bytes});
    }

    void writePcx(const std::string& relative, int width, int height, const Bytes& pixels, const Palette& palette) {
        write(relative, encodePcx(width, height, pixels.data(), palette));
    }

    // Writes every gathered file; `command` names the run in its messages.
    bool commit(const char* command, bool force) {
        if (!force) {
            std::vector<std::string> existing;
            for (const auto& [path, bytes] : files_) {
                std::error_code ec;
                if (std::filesystem::exists(std::filesystem::symlink_status(path, ec))) existing.push_back(path);
            }
            if (!existing.empty()) {
                err_ << "tarn-cli " << command << ": " << existing.size() << " of its files exist already (the first is "
                     << existing.front() << "); nothing was written. Add --force to replace them.\n";
                return false;
            }
        }
        for (const auto& [path, bytes] : files_) {
            std::error_code ec;
            std::filesystem::create_directories(folderOf(path), ec);
            if (ec) {
                err_ << "tarn-cli " << command << ": cannot create the folder of " << path << ": " << ec.message()
                     << '\n';
                return false;
            }
            if (const int error = writeFileAtomic(path, bytes); error != 0) {
                err_ << "tarn-cli " << command << ": " << saveFailureLine(path, error) << '\n';
                return false;
            }
            out_ << "wrote " << path << '\n';
        }
        return true;
    }

private:
    std::string root_;
    std::ostream& out_;
    std::ostream& err_;
    std::vector<std::pair<std::string, Bytes>> files_;
};

// DIR and --force, in any order; false when the line is anything else.
bool folderAndForce(const Args& args, std::string& folder, bool& force) {
    for (const std::string& a : args) {
        if (a == "--force" && !force) force = true;
        else if (folder.empty() && !a.empty() && a[0] != '-') folder = a;
        else return false;
    }
    return !folder.empty();
}

// The robot's second skin: the orange armour repainted in blue.
Bytes blueVariant(const Bytes& pixels) {
    Bytes out = pixels;
    for (std::uint8_t& p : out)
        if (p / kShades == kOrange) p = static_cast<std::uint8_t>(kBlue * kShades + p % kShades);
    return out;
}

// The phong maps in ROOT/phongs and the environment maps in ROOT/enviros.
void writeMaps(SampleWriter& root, const Palette& palette) {
    for (const SampleMap& map : phongMaps())
        root.writePcx("phongs/" + map.fileName, kMapSize, kMapSize, map.pixels, map.palette);
    for (const SampleMap& map : environmentMaps(palette))
        root.writePcx("enviros/" + map.fileName, kMapSize, kMapSize, map.pixels, map.palette);
}

int makeContent(const Args& args, std::ostream& out, std::ostream& err) {
    std::string folder;
    bool force = false;
    if (!folderAndForce(args, folder, force)) {
        err << "usage: tarn-cli make-content DIR [--force]\n";
        return 2;
    }
    const Palette palette = samplePalette();
    SampleWriter root(folder, out, err);
    root.writePcx("colormap.pcx", kPaletteColors, kColormapRows, buildColormap(palette), palette);
    writeMaps(root, palette);
    return root.commit("make-content", force) ? 0 : 1;
}

int makeSample(const Args& args, std::ostream& out, std::ostream& err) {
    std::string dir;
    bool force = false;
    if (!folderAndForce(args, dir, force)) {
        err << "usage: tarn-cli make-sample DIR [--force]\n";
        return 2;
    }
    const Palette palette = samplePalette();
    const SampleModel robot = buildRobot();
    const SampleModel blaster = buildBlaster();
    if (robot.frames.empty() || blaster.frames.empty()) {
        err << "tarn-cli make-sample: the sample islands do not fit their skins\n";
        return 1;
    }
    const std::string folder = std::string(kRobotFolder) + "/";
    const std::string skin = folder + "skin.pcx";
    const std::string blueSkin = folder + "skin_blue.pcx";
    const std::string weaponSkin = folder + "weapon.pcx";

    SampleWriter all(dir, out, err);
    const std::string game = "baseq2/";
    all.write(game + folder + "tris.md2", encodeSampleMd2(robot, {skin, blueSkin}));
    all.writePcx(game + skin, robot.skinWidth, robot.skinHeight, robot.skinPixels, palette);
    all.writePcx(game + blueSkin, robot.skinWidth, robot.skinHeight, blueVariant(robot.skinPixels), palette);
    all.write(game + folder + "weapon.md2", encodeSampleMd2(blaster, {weaponSkin}));
    all.writePcx(game + weaponSkin, blaster.skinWidth, blaster.skinHeight, blaster.skinPixels, palette);
    all.writePcx(game + "pics/colormap.pcx", kPaletteColors, kColormapRows, buildColormap(palette), palette);
    writeMaps(all, palette);
    const std::string modelLine = folder + "tris.md2\n";
    all.write(kModelListFile, Bytes(modelLine.begin(), modelLine.end()));
    return all.commit("make-sample", force) ? 0 : 1;
}

Registrar reg("make-sample", "make-sample DIR [--force]", makeSample);
Registrar regContent("make-content", "make-content DIR [--force]    colormap, phong and environment maps as TARN installs them",
                     makeContent);

}  // namespace

}  // namespace tarn::cli
