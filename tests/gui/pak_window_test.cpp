// A game folder whose model and skin live only inside a PAK: open the model
// from the PAK textured, paint, save the skin loose beside the PAK; the status
// bar names what is under the pointer; the animation plays; the recent-file
// list drops a file that has gone.
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <filesystem>

#include "animation_preview.h"
#include "app/command_ids.h"
#include "iso_view_widget.h"
#include "main_window.h"
#include "pak_builder.h"
#include "platform/fs.h"
#include "render/model_probe.h"
#include "scripted_ui.h"
#include "shell_widget.h"
#include "skin_view_widget.h"
#include "status_line.h"
#include "test_files.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

constexpr const char* kModelName = "players/male/tris.md2";
constexpr const char* kSkinName = "ne/usmc.pcx";

TEST(PakWindow, OpensFromThePakTexturedPaintsAndSavesTheSkinLoose) {
    const std::string source = test::realTestData("q2-didux/baseq2");
    if (source.empty()) GTEST_SKIP() << "real test data not present";
    test::TempDir tmp;
    const std::string base = tmp.file("baseq2");
    fs::create_directories(base);
    const std::string pak = joinPath(base, "pak0.pak");
    test::writePak(pak, {{kModelName, readFile(joinPath(source, kModelName)).bytes},
                         {"NE/USMC.PCX", readFile(joinPath(source, kSkinName)).bytes}});
    const Bytes pakBefore = readFile(pak).bytes;

    test::ScriptedUi ui;
    MemorySettings settings;
    settings.setInt(kPreferences, "Skip Intro", 1);
    settings.setInt(kPreferences, "Quick Exit", 1);
    settings.setString(kRecentFileSection, "File1", tmp.file("gone.md2"));
    MainWindow window(ui, settings);
    window.resize(1000, 700);
    window.show();
    StartupRequest request;
    request.baseFolder = base;
    // The command line names the model where its loose file would be; it is
    // found inside the PAK.
    request.commandLine = "tarn -md2 " + joinPath(base, kModelName);
    ASSERT_TRUE(window.start(request));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    Application& app = window.app();

    ui.custom("chooseFromList", std::string(kModelName)).answer(Answer::No);
    window.runCommand(cmd::kOpenFromPak);
    EXPECT_EQ(ui.listOffered, std::vector<std::string>{kModelName});
    EXPECT_TRUE(ui.messages().empty()) << ui.messages().front();
    // Yes to saving the unchanged model writes no loose copy to hide the PAK's.
    ui.custom("chooseFromList", std::string(kModelName)).answer(Answer::Yes);
    window.runCommand(cmd::kOpenFromPak);
    EXPECT_FALSE(fs::exists(joinPath(base, kModelName)));
    EXPECT_EQ(app.currentFilePak, pak);
    ASSERT_EQ(app.skins.count(), 1);
    Skin& skin = *app.skins.current();
    EXPECT_TRUE(skin.hasFile);
    EXPECT_EQ(skin.packedIn, pak);
    EXPECT_EQ(app.currentFilePak, pak);

    // Opened framed: looking at the centre of the shown frame's bounding
    // sphere, the whole skin in its pane.
    const RenderTarget& target = window.shell()->isoView()->view().target();
    EXPECT_EQ(target.lookAt, boundingSphere(app.mesh).centre);
    const SkinViewWidget* skinPane = window.shell()->skinView();
    EXPECT_LE(skin.width * window.shell()->skinView()->view().zoom(), float(skinPane->width()));
    EXPECT_LE(skin.height * window.shell()->skinView()->view().zoom(), float(skinPane->height()));

    // The status bar names the Triangle and texel under the pointer.
    IsoViewWidget* iso = window.shell()->isoView();
    QTest::mouseMove(iso, QPoint(iso->width() / 2, iso->height() / 2));
    EXPECT_TRUE(window.statusLine()->pointerLabel()->text().startsWith("Triangle ")) <<
        window.statusLine()->pointerLabel()->text().toStdString();

    // Paint a stroke across the skin pane and save the skin: a loose file
    // below the base folder, the PAK untouched.
    SkinViewWidget* pane = window.shell()->skinView();
    const int y = pane->height() / 2;
    const std::vector<std::uint8_t> original = skin.pixels;
    QTest::mousePress(pane, Qt::LeftButton, Qt::NoModifier, QPoint(pane->width() / 4, y));
    QTest::mouseMove(pane, QPoint(pane->width() * 3 / 4, y));
    QTest::mouseRelease(pane, Qt::LeftButton, Qt::NoModifier, QPoint(pane->width() * 3 / 4, y));
    ASSERT_NE(skin.pixels, original);
    QTest::mouseMove(pane, QPoint(pane->width() / 2, y));
    EXPECT_TRUE(window.statusLine()->pointerLabel()->text().startsWith("Skin "));

    // A wheel zoom shows the new zoom at once; on a narrow window the fields
    // keep their text and only the hint gives way.
    StatusLine* status = window.statusLine();
    const QString zoomBefore = status->zoomLabel()->text();
    QWheelEvent wheel(QPointF(pane->width() / 2, y), pane->mapToGlobal(QPointF(pane->width() / 2, y)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(pane, &wheel);
    QCoreApplication::processEvents();
    EXPECT_NE(status->zoomLabel()->text(), zoomBefore);
    window.resize(700, 700);
    QCoreApplication::processEvents();
    EXPECT_GE(status->zoomLabel()->width(), status->zoomLabel()->sizeHint().width());
    EXPECT_GE(status->pointerLabel()->width(), status->pointerLabel()->minimumWidth());
    EXPECT_TRUE(status->hintLabel()->text().endsWith(QChar(0x2026))) << status->hintLabel()->text().toStdString();
    window.resize(1000, 700);

    window.runCommand(cmd::kSkinSave);
    const std::string loose = joinPath(base, kSkinName);
    ASSERT_TRUE(fs::exists(loose));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_NE(ui.messages()[0].find(loose), std::string::npos);
    EXPECT_EQ(readFile(pak).bytes, pakBefore);
    EXPECT_TRUE(skin.packedIn.empty());

    // The animation plays and the Frames list follows; stopping keeps the frame.
    window.runCommand(cmd::kPlayPause);
    EXPECT_TRUE(window.preview()->running());
    EXPECT_EQ(app.player.rate(), 10.0);
    const int first = app.mesh.currentFrame;
    EXPECT_TRUE(QTest::qWaitFor([&] { return app.mesh.currentFrame != first; }, 3000));
    window.runCommand(cmd::kPlayPause);
    EXPECT_FALSE(window.preview()->running());
    EXPECT_EQ(window.list(kListFrames)->currentIndex(), app.mesh.currentFrame);

    // The model out of the PAK heads the recent files; a listed file that has
    // gone leaves the list with a message naming it.
    ASSERT_EQ(app.recentFiles.entries().size(), 2u);
    EXPECT_EQ(app.recentFiles.entries()[0], joinPath(base, kModelName));
    window.runCommand(cmd::kRecentFile1 + 1);
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_NE(ui.messages()[1].find(tmp.file("gone.md2")), std::string::npos);
    EXPECT_EQ(app.recentFiles.entries().size(), 1u);
    EXPECT_TRUE(ui.allConsumed());
}

}  // namespace
}  // namespace tarn
