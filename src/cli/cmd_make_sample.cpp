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

class SampleWriter {
public:
    SampleWriter(const std::string& root, std::ostream& out, std::ostream& err)
        : root_(root), out_(out), err_(err) {}

    bool write(const std::string& relative, const Bytes& bytes) {
        const std::string path = joinPath(root_, toNative(relative));
        std::error_code ec;
        std::filesystem::create_directories(folderOf(path), ec);
        if (ec) {
            err_ << "tarn-cli make-sample: cannot create the folder of " << path << ": " << ec.message() << '\n';
            return false;
        }
        if (const int error = writeFileAtomic(path, bytes); error != 0) {
            err_ << "tarn-cli make-sample: " << path << ": " << errorSavingMessage(error) << '\n';
            return false;
        }
        out_ << "wrote " << path << '\n';
        return true;
    }

    bool writePcx(const std::string& relative, int width, int height, const Bytes& pixels, const Palette& palette) {
        return write(relative, encodePcx(width, height, pixels.data(), palette));
    }

private:
    std::string root_;
    std::ostream& out_;
    std::ostream& err_;
};

// The robot's second skin: the orange armour repainted in blue.
Bytes blueVariant(const Bytes& pixels) {
    Bytes out = pixels;
    for (std::uint8_t& p : out)
        if (p / kShades == kOrange) p = static_cast<std::uint8_t>(kBlue * kShades + p % kShades);
    return out;
}

// The phong maps in ROOT/phongs and the environment maps in ROOT/enviros.
bool writeMaps(SampleWriter& root, const Palette& palette) {
    bool ok = true;
    for (const SampleMap& map : phongMaps())
        ok = ok && root.writePcx("phongs/" + map.fileName, kMapSize, kMapSize, map.pixels, map.palette);
    for (const SampleMap& map : environmentMaps(palette))
        ok = ok && root.writePcx("enviros/" + map.fileName, kMapSize, kMapSize, map.pixels, map.palette);
    return ok;
}

int makeContent(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) {
        err << "usage: tarn-cli make-content DIR\n";
        return 2;
    }
    const Palette palette = samplePalette();
    SampleWriter root(args[0], out, err);
    const bool ok = root.writePcx("colormap.pcx", kPaletteColors, kColormapRows, buildColormap(palette), palette) &&
                    writeMaps(root, palette);
    return ok ? 0 : 1;
}

int makeSample(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) {
        err << "usage: tarn-cli make-sample DIR\n";
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

    SampleWriter game(joinPath(args[0], "baseq2"), out, err);
    SampleWriter root(args[0], out, err);
    bool ok = game.write(folder + "tris.md2", encodeSampleMd2(robot, {skin, blueSkin})) &&
              game.writePcx(skin, robot.skinWidth, robot.skinHeight, robot.skinPixels, palette) &&
              game.writePcx(blueSkin, robot.skinWidth, robot.skinHeight, blueVariant(robot.skinPixels), palette) &&
              game.write(folder + "weapon.md2", encodeSampleMd2(blaster, {weaponSkin})) &&
              game.writePcx(weaponSkin, blaster.skinWidth, blaster.skinHeight, blaster.skinPixels, palette) &&
              game.writePcx("pics/colormap.pcx", kPaletteColors, kColormapRows, buildColormap(palette), palette);
    ok = ok && writeMaps(root, palette);
    const std::string modelLine = folder + "tris.md2\n";
    ok = ok && root.write(kModelListFile, Bytes(modelLine.begin(), modelLine.end()));
    return ok ? 0 : 1;
}

Registrar reg("make-sample", "make-sample DIR", makeSample);
Registrar regContent("make-content", "make-content DIR    colormap, phong and environment maps as TARN installs them",
                     makeContent);

}  // namespace

}  // namespace tarn::cli
