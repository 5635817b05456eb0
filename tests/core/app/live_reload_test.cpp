// Live reload under a window's event loop: while a question or message is
// open, other programs go on writing and the watcher goes on telling. A fake
// Ui acts out exactly that: its questions and messages write the file again
// and tell the reload, nested, as the real window's modal boxes let happen.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/application.h"
#include "app/live_reload.h"
#include "image/image_codec.h"
#include "image/skin_commands.h"
#include "image/skin_io.h"
#include "platform/refresh.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

class BusyUi : public test::ScriptedUi {
public:
    std::function<void()> whileOpen;
    Answer ask(const std::string& text, QuestionKind kind) override {
        if (whileOpen) whileOpen();
        return ScriptedUi::ask(text, kind);
    }
    void message(const std::string& text) override {
        if (whileOpen) whileOpen();
        ScriptedUi::message(text);
    }
    long count(const std::string& part) const {
        return std::count_if(shown.begin(), shown.end(), [&](const std::string& s) { return s.find(part) != s.npos; });
    }
};

class LiveReloadTest : public ::testing::Test {
protected:
    LiveReloadTest() {
        write(1);
        app.skins.append(LoadSkinImage(ui, path));
        app.skins.makeCurrent(0);
    }
    // Another program writes the whole file, each pixel `value`, `width` wide.
    void write(int value, int width = kSide) {
        const Bytes pixels(std::size_t(width) * kSide, std::uint8_t(value));
        ASSERT_EQ(writeFileAtomic(path, encodePcx(width, kSide, pixels.data(), Palette{})), 0);
    }
    // A stroke: unsaved work in the skin.
    void paint() { skin().pixels[0] = 200; }
    Skin& skin() { return *app.skins.at(0); }
    bool holds(int value) const {
        const Skin& s = *app.skins.at(0);
        return std::all_of(s.pixels.begin(), s.pixels.end(), [&](std::uint8_t p) { return p == value; });
    }

    static constexpr int kSide = 4;
    test::TempDir dir;
    std::string path = dir.file("skin.pcx");
    BusyUi ui;
    MemorySettings settings;
    RecordingRefresh refresh;
    Application app{ui, settings, refresh};
    LiveReload live{app};
};

TEST_F(LiveReloadTest, OneQuestionAtATimeAboutTheFileAsItIsWhenAnswered) {
    paint();
    write(2);
    // Three more writes while the question is open, each told at once.
    ui.whileOpen = [&] {
        ui.whileOpen = nullptr;
        for (int v : {3, 4, 5}) {
            write(v);
            EXPECT_EQ(live.fileChanged(path), OutsideChange::None);
        }
    };
    ui.answer(Answer::Yes);
    EXPECT_EQ(live.fileChanged(path), OutsideChange::Reloaded);
    EXPECT_EQ(ui.count(kAskTakeOutsideFile), 1);
    EXPECT_TRUE(holds(5)) << "the newest file, not the one first asked about";
    EXPECT_FALSE(skin().modified());
    // What was taken is what the file holds: saving asks nothing.
    SkinContext c = app.skinContext();
    EXPECT_TRUE(saveSkin(c));
    EXPECT_EQ(ui.count(kAskWriteOverChanged), 0);

    // Kept: the file written while the question was open is not asked about
    // again, and a save over it asks first.
    paint();
    write(6);
    ui.whileOpen = [&] {
        ui.whileOpen = nullptr;
        write(7);
        live.fileChanged(path);
    };
    ui.answer(Answer::No);
    EXPECT_EQ(live.fileChanged(path), OutsideChange::None);
    EXPECT_EQ(live.fileChanged(path), OutsideChange::None);
    EXPECT_EQ(ui.count(kAskTakeOutsideFile), 2);
    EXPECT_EQ(skin().pixels[0], 200);
    ui.answer(Answer::No);
    EXPECT_FALSE(saveSkin(c));
    EXPECT_EQ(ui.count(kAskWriteOverChanged), 1);
    EXPECT_EQ(decodeImage(readFile(path).bytes).image.pixels[0], 7) << "the file was left as it is";
    ui.answer(Answer::Yes);
    EXPECT_TRUE(saveSkin(c));
    EXPECT_EQ(decodeImage(readFile(path).bytes).image.pixels[0], 200);
    EXPECT_TRUE(ui.allConsumed());
}

TEST_F(LiveReloadTest, AFileOfTheWrongSizeIsToldOnceWhileItStaysSo) {
    ui.whileOpen = [&] {
        for (int v = 0; v < 20; ++v) {
            write(v, 8);
            live.fileChanged(path);
        }
    };
    write(9, 8);
    live.fileChanged(path);
    ui.whileOpen = nullptr;
    for (int v = 10; v < 30; ++v) {
        write(v, 8);
        live.fileChanged(path);
    }
    EXPECT_EQ(ui.count(kMsgWrongDimensions), 1);
    // Right again, then wrong again: told again.
    write(3);
    EXPECT_EQ(live.fileChanged(path), OutsideChange::Reloaded);
    EXPECT_TRUE(holds(3));
    write(4, 8);
    live.fileChanged(path);
    EXPECT_EQ(ui.count(kMsgWrongDimensions), 2);
}

}  // namespace
}  // namespace tarn
