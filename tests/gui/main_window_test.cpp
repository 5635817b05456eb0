#include <QApplication>
#include <QComboBox>
#include <QScreen>
#include <QSpinBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "app/command_table.h"
#include "image/maps.h"
#include "image/palette_file.h"
#include "image/skin_io.h"
#include "iso_view_widget.h"
#include "shell_widget.h"
#include "square_model.h"
#include "toolbar_icons.h"
#include "main_window.h"
#include "qt_settings.h"
#include "scripted_ui.h"
#include "shell_widget.h"
#include "start_request.h"
#include "test_files.h"

#include <fstream>

// Qt's own key path for shortcuts, which alone can say that a key repeats.
Q_WIDGETS_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                                   const QString& text, bool autorep, ushort count);

namespace tarn {
namespace {

using test::ScriptedUi;

struct Window : ::testing::Test {
    ScriptedUi ui;
    MemorySettings settings;
    MainWindow w{ui, settings};

    void SetUp() override {
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        w.activateWindow();
        QApplication::setActiveWindow(&w);
        w.setFocus();
    }
    void TearDown() override {
        settings.setInt(kPreferences, "Quick Exit", 1);
        w.close();
    }
};

// Every item of a menu, submenus flattened, as "menu/submenu/text".
void collect(QMenu* menu, const QString& path, std::map<int, QString>& out) {
    for (QAction* a : menu->actions()) {
        if (a->menu()) collect(a->menu(), path + '/' + a->menu()->title(), out);
        else if (!a->isSeparator()) out[a->data().toInt()] = path + '|' + a->text();
    }
}

TEST_F(Window, MenusHoldEveryCommandOfTheTableWithItsTextAndKey) {
    std::map<int, QString> items;
    for (QAction* top : w.menuBar()->actions()) collect(top->menu(), top->text(), items);
    int withMenu = 0;
    for (const CommandEntry& entry : commandTable()) {
        QAction* a = w.action(entry.id);
        ASSERT_NE(a, nullptr) << entry.id;
        const std::vector<std::string> keys = commandKeys(entry, false);
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromStdString(keys.empty() ? "" : keys[0]))) << entry.id;
        if (!*entry.menu) continue;
        ++withMenu;
        QString where = QString::fromUtf8(entry.menu);
        if (*entry.submenu) where += '/' + QString::fromUtf8(entry.submenu);
        EXPECT_EQ(items[entry.id], where + '|' + QString::fromStdString(menuLabel(entry))) << entry.id;
    }
    EXPECT_EQ(static_cast<int>(items.size()), withMenu);

    auto* bar = w.findChild<QToolBar*>("commandBar");
    ASSERT_NE(bar, nullptr);
    std::vector<int> buttons;
    for (QAction* a : bar->actions())
        if (a->isSeparator() || a->data().isValid()) buttons.push_back(a->isSeparator() ? 0 : a->data().toInt());
    EXPECT_NE(bar->findChild<QSpinBox*>("brushSize"), nullptr) << "the brush size sits on the toolbar";
    EXPECT_EQ(buttons, toolbarLayout());
}

TEST_F(Window, KeysAndMenuItemsFireTheirCommandsAndUpdateChecks) {
    int before = w.app().paint.colorSlots[0];
    QTest::keyClick(&w, Qt::Key_Period);
    EXPECT_EQ(w.app().paint.colorSlots[0], (before + 1) % 256);
    QTest::keyClick(&w, Qt::Key_Apostrophe);
    EXPECT_EQ(w.app().paint.colorSlots[0], (before + 17) % 256);

    QTest::keyClick(&w, Qt::Key_2);
    EXPECT_TRUE(w.app().paneModes.mappingMode);
    EXPECT_TRUE(w.action(cmd::kMappingMode)->isChecked());
    EXPECT_FALSE(w.action(cmd::kPaintMode)->isChecked());

    QTest::keyClick(&w, Qt::Key_3, Qt::ShiftModifier);
    EXPECT_EQ(w.app().paneModes.brush, Brush::Line);
    EXPECT_TRUE(w.action(cmd::kLineBrush)->isChecked());

    w.action(cmd::kBlendKeepBrightness)->trigger();
    EXPECT_EQ(w.app().paint.blendMode, 1);
    EXPECT_TRUE(w.action(cmd::kBlendKeepBrightness)->isChecked());
    EXPECT_FALSE(w.action(cmd::kBlendRgb)->isChecked());

    QTest::keyClick(&w, Qt::Key_Space);
    EXPECT_TRUE(w.app().paneModes.cameraOverride);
    // Space held down: the repeats the keyboard sends leave the toggle alone,
    // while a held colour key goes on stepping.
    for (int i = 0; i < 3; ++i) qt_sendShortcutOverrideEvent(&w, 0, Qt::Key_Space, Qt::NoModifier, " ", true, 1);
    EXPECT_TRUE(w.app().paneModes.cameraOverride);
    before = w.app().paint.colorSlots[0];
    qt_sendShortcutOverrideEvent(&w, 0, Qt::Key_Period, Qt::NoModifier, ".", true, 1);
    EXPECT_EQ(w.app().paint.colorSlots[0], (before + 1) % 256);
}

TEST_F(Window, BenchmarkReportsItsFramesOnF11) {
    QTest::keyClick(&w, Qt::Key_F11);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].rfind("100 frames in ", 0), 0u) << ui.messages()[0];
}

TEST_F(Window, SnapshotOnF12WritesThePictureOfThePaneAtTheChosenSize) {
    test::TempDir dir;
    SnapshotOptions options;
    options.custom = true;
    options.width = 64;
    options.height = 48;
    options.trueColour = true;
    ui.custom("snapshot", options).saveFile(dir.file("shot"), 1);
    QTest::keyClick(&w, Qt::Key_F12);
    const IsoView& iso = w.shell()->isoView()->view();
    EXPECT_EQ(ui.shown.front(), "snapshot: " + std::to_string(iso.frame().width()) + "x" +
                                    std::to_string(iso.frame().height()));
    EXPECT_EQ(readFile(dir.file("shot.bmp")).bytes.size(), 54u + 64u * 3u * 48u);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(Window, CharacterKeysGoToAFocusedTextFieldInstead) {
    auto* field = new QLineEdit(&w);
    field->show();
    field->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), field);
    int before = w.app().paint.colorSlots[0];
    for (Qt::Key k : {Qt::Key_Period, Qt::Key_2, Qt::Key_C, Qt::Key_Space, Qt::Key_BracketLeft})
        QTest::keyClick(field, k);
    EXPECT_EQ(field->text(), ".2c [");
    EXPECT_EQ(w.app().paint.colorSlots[0], before);
    EXPECT_FALSE(w.app().paneModes.mappingMode);
    EXPECT_FALSE(w.app().paneModes.cameraOverride);
}

TEST_F(Window, AnUnavailableModeShowsItsMessageAndTheListReturns) {
    QComboBox* modes = w.list(kListModes);
    ASSERT_EQ(modes->count(), 9);
    EXPECT_EQ(modes->itemText(8), "Textured, P-Shade");
    EXPECT_EQ(modes->currentIndex(), 5);

    modes->setFocus();
    QTest::keyClick(modes, Qt::Key_Up);  // Phong Shaded, with no phong maps
    EXPECT_EQ(ui.messages(), std::vector<std::string>{kMsgNoPhongMaps});
    EXPECT_EQ(modes->currentIndex(), 5);
    EXPECT_EQ(w.app().modes.currentIndex(), 5);

    emit modes->activated(0);  // Wireframe is always there
    EXPECT_EQ(modes->currentIndex(), 0);
    EXPECT_EQ(w.app().modes.currentIndex(), 0);
    emit modes->activated(5);
    EXPECT_EQ(ui.messages().back(), kMsgTexturedNoSkins);
    EXPECT_EQ(modes->currentIndex(), 0);
}

TEST_F(Window, CompanionItemsFollowTheCurrentCompanion) {
    QAction* hide = w.action(cmd::kCompanionHide);
    EXPECT_FALSE(hide->isEnabled());
    EXPECT_FALSE(w.action(cmd::kCompanionOffset)->isEnabled());

    auto companion = std::make_unique<Companion>();
    companion->name = "/q/w_shotgun.md2";
    companion->hidden = true;
    w.app().companions.push_back(std::move(companion));
    w.app().companionIndex = 0;
    w.refreshAll();
    w.updateCommandStates();
    EXPECT_EQ(hide->text(), "&Show");
    EXPECT_EQ(w.list(kListCompanions)->itemText(0), "  /q/w_shotgun.md2");
    w.app().companions[0]->hidden = false;
    w.updateCommandStates();
    EXPECT_EQ(hide->text(), "&Hide");
}

TEST_F(Window, RefreshReachesThePanesNamedInTheirOrder) {
    std::vector<std::string> calls;
    auto pane = [&calls](const char* name) {
        return [&calls, name](int kind, int options) {
            calls.push_back(std::string(name) + " " + std::to_string(kind) + " " + std::to_string(options));
        };
    };
    w.watchPane(kPaneSkinView, pane("skin"));
    w.watchPane(kPaneIsoView, pane("iso"));
    w.watchPane(kPaneGradient, pane("gradient"));
    w.watchPane(kPanePalette, pane("palette"));

    w.refresh(kRedrawFull, kPanesAll);
    EXPECT_EQ(calls, (std::vector<std::string>{"skin 0 32", "gradient 0 32", "iso 0 32", "palette 0 32"}));
    calls.clear();
    w.refresh(kRedrawQuick, kPaneIsoView);
    EXPECT_EQ(calls, std::vector<std::string>{"iso 1 0"});
    calls.clear();
    w.refresh(kRedrawFull, 0);
    EXPECT_TRUE(calls.empty());
}

TEST_F(Window, SkinsListAndTitleShowUnstoredChanges) {
    auto skin = makeBlankSkin(4, 4);
    skin->name = "models\\m\\skin.pcx";
    skin->backup = skin->pixels;
    w.app().skins.append(std::move(skin));
    w.app().currentFile = "/q/baseq2/models/m/tris.md2";
    w.refreshAll();
    EXPECT_EQ(w.list(kListSkins)->itemText(0), "models/m/skin.pcx");
    EXPECT_FALSE(w.isWindowModified());
    EXPECT_TRUE(w.windowTitle().startsWith("/q/baseq2/models/m/tris.md2"));  // not below a base folder

    w.app().skins.at(0)->pixels[0] = 9;
    w.refresh(kRedrawFromSkin, kPaneSkinView);
    EXPECT_TRUE(w.isWindowModified());
    EXPECT_EQ(w.list(kListSkins)->itemText(0), "models/m/skin.pcx *");

    ui.answer(Answer::No);  // keep the unstored skin
    QTest::keyClick(&w, Qt::Key_D, Qt::ShiftModifier);
    EXPECT_EQ(w.app().skins.count(), 1);
    w.app().skins.at(0)->store();
}

TEST_F(Window, TheFirstWindowFitsTheScreenAndLongNamesLeaveTheListsTheirWidth) {
    EXPECT_TRUE(w.screen()->availableGeometry().contains(w.frameGeometry())) << w.frameGeometry().width();
    QComboBox* skins = w.list(kListSkins);
    EXPECT_EQ(skins->iconSize(), QSize(kSkinIconWidth, kSkinIconHeight));
    const QSize narrow = skins->sizeHint();
    auto skin = makeBlankSkin(4, 4);
    skin->name = "/" + std::string(120, 'd') + "/models/monsters/tank/skin.pcx";
    skin->external = true;
    w.app().skins.append(std::move(skin));
    w.refreshAll();
    EXPECT_EQ(skins->sizeHint(), narrow);
    const QString full = QString::fromStdString(w.app().skins.at(0)->name);
    EXPECT_EQ(skins->itemData(0, Qt::ToolTipRole).toString(), full);
    EXPECT_TRUE(skins->toolTip().endsWith('\n' + full)) << skins->toolTip().toStdString();
}

TEST_F(Window, AListChoiceHandsTheKeysBackToThePanes) {
    QComboBox* modes = w.list(kListModes);
    modes->setFocus();
    QTest::keyClick(modes, Qt::Key_Home);  // Wireframe
    EXPECT_EQ(w.app().modes.currentIndex(), 0);
    EXPECT_TRUE(w.shell()->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(w.app().modes.currentIndex(), 0);
}

// The square model with two skins of different palettes in Gouraud Shaded,
// whose shading ramps come from the current skin's palette.
struct ShadedWindow : Window {
    test::TempDir dir;
    QComboBox* modes = nullptr;
    void SetUp() override {
        Window::SetUp();
        test::makeSquareModel(w.app());
        w.app().skins.append(test::makeSquareSkin(1));
        w.app().currentFile = "/q/baseq2/models/m/tris.md2";
        w.app().folders.base = "/q/baseq2";
        modes = w.list(kListModes);
        emit modes->activated(kModeGouraud);
        QApplication::processEvents();
    }
    void TearDown() override {
        for (int i = 0; i < w.app().skins.count(); ++i) w.app().skins.at(i)->store();
        Window::TearDown();
    }
    // A 768-byte palette file of a square skin's palette turned by `hueShift`.
    std::string actFile(int hueShift) {
        const std::string path = dir.file("turned.act");
        const Palette p = test::makeSquareSkin(hueShift)->palette;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(p.data()), 768);
        return path;
    }
    QImage shown() { return w.shell()->isoView()->grab().toImage(); }
    // What the 3D pane shows when drawn from tables built afresh.
    QImage drawnFresh() {
        w.app().rebuildPaintRemap();
        w.app().rebuildShadeRamps();
        w.shell()->isoView()->redraw();
        return shown();
    }
};

TEST_F(ShadedWindow, EveryPaletteChangeIsDrawnFromRebuiltTables) {
    auto opened = test::makeSquareSkin(0);
    ASSERT_TRUE(SavePcx(ui, *opened, dir.file("opened.pcx")));
    const std::string act = actFile(2);
    struct Row {
        const char* what;
        std::function<void()> run;
    };
    const std::vector<Row> rows = {
        {"Default Palette", [&] { w.runCommand(cmd::kDefaultPalette); }},
        {"Re-Palette", [&] { ui.openFile(act, 3); w.runCommand(cmd::kSkinRepalette); }},
        {"Open", [&] { ui.openFile(dir.file("opened.pcx")); w.runCommand(cmd::kSkinOpen); }},
        {"Close/Delete", [&] { w.runCommand(cmd::kSkinClose); }},
        {"Skins list", [&] { emit w.list(kListSkins)->activated(0); }},
    };
    for (const Row& row : rows) {
        const QImage before = shown();
        row.run();
        QApplication::processEvents();
        const QImage after = shown();
        EXPECT_NE(after, before) << row.what;
        EXPECT_EQ(after, drawnFresh()) << row.what;
    }
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(ShadedWindow, APaletteChangeIsUnsavedWorkUntilStoredAndRevertTakesItBack) {
    QComboBox* skins = w.list(kListSkins);
    EXPECT_EQ(w.windowTitle(), "models/m/tris.md2[*] - TARN");
    const Palette stored = w.app().skins.current()->palette;
    w.runCommand(cmd::kDefaultPalette);
    EXPECT_TRUE(w.isWindowModified());
    EXPECT_TRUE(skins->itemText(0).endsWith(" *"));
    QTest::keyClick(&w, Qt::Key_Z, Qt::ShiftModifier);  // Store
    EXPECT_FALSE(w.isWindowModified());
    EXPECT_FALSE(skins->itemText(0).endsWith(" *"));

    ui.openFile(actFile(0), 3);
    w.runCommand(cmd::kSkinRepalette);
    EXPECT_TRUE(skins->itemText(0).endsWith(" *"));
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);  // Revert
    EXPECT_EQ(w.app().skins.current()->palette, greyRampPalette());
    EXPECT_NE(w.app().skins.current()->palette, stored);
    EXPECT_FALSE(w.isWindowModified());
}

TEST_F(ShadedWindow, LosingTheCurrentModesMapSaysSoOnceAndFallsBack) {
    struct Row {
        int mode;
        int close;
        const char* message;
        bool skins;
        int fallback;
    };
    const std::vector<Row> rows = {
        {kModePhong, cmd::kPhongClose, kMsgNoPhongMaps, true, kModeTextured},
        {kModeEnvironment, cmd::kEnvClose, kMsgNoEnvMaps, true, kModeTextured},
        {kModePhong, cmd::kPhongClose, kMsgNoPhongMaps, false, kModeGouraud},
    };
    for (const Row& row : rows) {
        if (!row.skins) w.app().skins.clear();
        MapList& maps = row.mode == kModePhong ? w.app().phongMaps : w.app().envMaps;
        maps.append(makeLightingMap(*makeBlankSkin(kLightingMapSide, kLightingMapSide), maps.kind()));
        maps.choose(0);
        emit modes->activated(row.mode);
        ASSERT_EQ(w.app().modes.currentIndex(), row.mode);
        const std::size_t before = ui.messages().size();
        w.runCommand(row.close);
        w.runCommand(cmd::kColorNext);
        const std::vector<std::string> all = ui.messages();
        const std::vector<std::string> said(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
        EXPECT_EQ(said, std::vector<std::string>{row.message}) << row.mode;
        EXPECT_EQ(w.app().modes.currentIndex(), row.fallback) << row.mode;
        EXPECT_EQ(modes->currentIndex(), row.fallback) << row.mode;
    }
    // The mode that gave way comes back with what it needs, as when the next
    // model has skins: a model without any does not end texturing for good.
    w.app().phongMaps.append(makeLightingMap(*makeBlankSkin(kLightingMapSide, kLightingMapSide), MapKind::Phong));
    w.app().phongMaps.choose(0);
    w.app().skins.append(makeBlankSkin(w.app().mesh.skinWidth, w.app().mesh.skinHeight));
    w.app().skins.makeCurrent(0);
    w.runCommand(cmd::kColorNext);
    EXPECT_EQ(w.app().modes.currentIndex(), kModePhong);
    EXPECT_EQ(modes->currentIndex(), kModePhong);
}

TEST(WindowStart, CommandLineModelAndSkinFillTheListsAndTheTitle) {
    std::string base = test::realTestData("q2-didux/baseq2");
    if (base.empty()) GTEST_SKIP() << "real test data not present";
    ScriptedUi ui;
    MemorySettings settings;
    settings.setInt(kPreferences, "Skip Intro", 1);
    settings.setInt(kPreferences, "Quick Exit", 1);
    MainWindow w(ui, settings);
    w.show();
    StartupRequest request;
    request.baseFolder = base;
    request.commandLine = "tarn -md2 " + base + "/players/male/tris.md2 " + base + "/players/male/elkan.pcx";
    ASSERT_TRUE(w.start(request));

    EXPECT_EQ(w.intro(), nullptr);
    EXPECT_EQ(w.windowTitle(), "players/male/tris.md2[*] - TARN");
    QComboBox* skins = w.list(kListSkins);
    ASSERT_EQ(skins->count(), 2);
    EXPECT_EQ(skins->currentIndex(), 1);
    EXPECT_EQ(skins->itemText(0), "ne/usmc.pcx");
    EXPECT_EQ(w.list(kListFrames)->count(), 198);

    QComboBox* frames = w.list(kListFrames);
    frames->setFocus();
    QTest::keyClick(frames, Qt::Key_Down);
    EXPECT_EQ(w.app().mesh.currentFrame, 1);
    EXPECT_TRUE(w.action(cmd::kSkinRevert)->isEnabled());
    EXPECT_TRUE(w.close());
}

TEST(WindowClose, StoresSplitterAndSlotsAndClosesAtOnceWithNothingUnsaved) {
    QTemporaryDir dir;
    QtSettings settings(dir.filePath("tarn.ini"));
    ScriptedUi ui;
    {
        MainWindow w(ui, settings);
        w.show();
        w.app().paint.colorSlots[3] = 77;
        w.app().splitterFraction = 0.4;
        EXPECT_TRUE(w.close());
        EXPECT_TRUE(ui.shown.empty());
        EXPECT_EQ(settings.getInt(kPreferences, "Splitter", 0), 4000);
        EXPECT_EQ(settings.getInt(kColors, "Color-3", 0), 77);
    }
    settings.setInt(kPreferences, "Quick Exit", 1);
    MainWindow quick(ui, settings);
    EXPECT_EQ(quick.app().paint.colorSlots[3], 77);
    quick.show();
    EXPECT_TRUE(quick.close());
}

TEST(StartRequest, TakesTheBaseFolderAndQuotesArgumentsWithSpaces) {
    auto r = startRequestFrom({"/opt/x-md2/tarn", "--base", "/q/baseq2", "-md2", "/q/a b.md2", "/q/s.pcx"});
    EXPECT_EQ(r.baseFolder, std::optional<std::string>("/q/baseq2"));
    EXPECT_EQ(r.commandLine, "tarn -md2 \"/q/a b.md2\" /q/s.pcx");
    EXPECT_EQ(commandLineTokens(r.commandLine), (std::vector<std::string>{"/q/a b.md2", "/q/s.pcx"}));
}

TEST(StartRequest, AModelWithoutTheSwitchOpensAsWithIt) {
    EXPECT_EQ(startRequestFrom({"tarn", "/q/a.md2"}).commandLine, "tarn -md2 /q/a.md2");
    EXPECT_EQ(startRequestFrom({"tarn", "--base", "/q", "/q/a.md2", "s.pcx"}).commandLine, "tarn -md2 /q/a.md2 s.pcx");
    EXPECT_EQ(startRequestFrom({"tarn"}).commandLine, "tarn");
}

}  // namespace
}  // namespace tarn
