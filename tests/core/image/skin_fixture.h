#pragma once
// A skin list with its folders, settings, scripted Ui and recorded refreshes,
// on a temporary base folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "image/image_codec.h"
#include "image/skin_commands.h"
#include "platform/fs.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn::test {

class SkinFixture : public ::testing::Test {
protected:
    static constexpr int kW = 6;
    static constexpr int kH = 3;

    TempDir dir;
    ScriptedUi ui;
    MemorySettings settings;
    Folders folders;
    SkinList skins;
    RecordingRefresh refresh;
    SkinContext ctx{ui, settings, folders, skins, refresh, kW, kH};
    std::string base;

    void SetUp() override {
        base = dir.file("baseq2");
        std::filesystem::create_directories(joinPath(base, "models"));
        folders = {base, base, base};
    }

    // A Skin of the Mesh size filled with `value`, its backup different, so
    // that Store and Revert show.
    Skin& addSkin(const std::string& name, bool external, std::uint8_t value) {
        auto skin = makeBlankSkin(kW, kH);
        skin->name = name;
        skin->filePath = external ? name : joinPath(base, name);
        skin->external = external;
        skin->pixels.assign(skin->pixelCount(), value);
        skin->palette[3] = value;
        Skin& ref = *skin;
        skins.append(std::move(skin));
        return ref;
    }

    std::string writeImage(const std::string& path, int w, int h, std::uint8_t value, bool bmp = false) {
        const Bytes px(static_cast<std::size_t>(w * h), value);
        Palette pal{};
        pal[3] = value;
        EXPECT_EQ(writeFileAtomic(path, bmp ? encodeBmp(w, h, px.data(), pal) : encodePcx(w, h, px.data(), pal)), 0);
        return path;
    }

    DecodedImage readBack(const std::string& path) { return decodeImage(readFile(path).bytes); }

    std::vector<std::string> calls() {
        auto c = refresh.calls;
        refresh.calls.clear();
        return c;
    }
};

}  // namespace tarn::test
