#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "app/command_ids.h"
#include "app/command_registry.h"
#include "app/command_table.h"

namespace tarn {
namespace {

struct Expected {
    int id;
    const char* menu;
    const char* text;
    const char* key;
};

// Typed again, independently, from the menu tables: id, menu, text, key.
const Expected kExpected[] = {
    {32772, "&File", "&Open...\tCtrl+O", "Ctrl+O"},
    {32773, "&File", "&Save\tCtrl+S", "Ctrl+S"},
    {32774, "&File", "Save &As...\tCtrl+A", "Ctrl+A"},
    {32874, "&File", "SSMObject", ""},
    {32771, "&File", "&Base Folder...", ""},
    {32829, "&File", "Preferences", ""},
    {57665, "&File", "E&xit", ""},
    {57643, "&Edit", "&Undo\tAlt+Backspace", "Alt+Backspace"},
    {57644, "&Edit", "&Redo\tCtrl+Y", "Ctrl+Y"},
    {32809, "&Companion", "&Open", ""},
    {32810, "&Companion", "&Close", ""},
    {32813, "&Companion", "&Load Skin", ""},
    {32811, "&Companion", "&Hide\tH", "H"},
    {32814, "&Companion", "&Offset", ""},
    {32858, "&Options", "&Open", ""},
    {32859, "&Options", "&Close", ""},
    {32862, "&Options", "&Scan Folder", ""},
    {32860, "&Options", "&Open", ""},
    {32861, "&Options", "&Close", ""},
    {32863, "&Options", "&Scan Folder", ""},
    {32775, "&Options", "&Swap Displays", ""},
    {32857, "&Options", "Snapshot\tF12", "F12"},
    {32865, "&Options", "&Benchmark\tF11", "F11"},
    {32779, "&Options", "&Camera Override\tSpace", "Space"},
    {32780, "&Options", "&Paint Mode\t1", "1"},
    {32781, "&Options", "M&apping Mode\t2", "2"},
    {32802, "&Options", "Point Brush\tShift+1", "Shift+1"},
    {32800, "&Options", "Pencil Brush\tShift+2", "Shift+2"},
    {32801, "&Options", "Line Brush\tShift+3", "Shift+3"},
    {32785, "&Skins", "&New\tShift+N", "Shift+N"},
    {32777, "&Skins", "&Open\tShift+O", "Shift+O"},  // the advertised key works
    {32782, "&Skins", "&Close/Delete\tShift+D", "Shift+D"},
    {32842, "&Skins", "Dupl&icate\tCtrl+D", "Ctrl+D"},
    {32783, "&Skins", "&Save\tShift+S", "Shift+S"},
    {32784, "&Skins", "Save &As\tShift+A", "Shift+A"},
    {32788, "&Skins", "&Link\tShift+L", "Shift+L"},
    {32789, "&Skins", "&Unlink\tCtrl+L", "Ctrl+L"},
    {32793, "&Skins", "&Move Up\tCtrl+Up", "Ctrl+Up"},
    {32794, "&Skins", "Move &Down\tCtrl+Down", "Ctrl+Down"},
    {32787, "&Skins", "&Store\tShift+Z", "Shift+Z"},
    {32786, "&Skins", "&Revert\tCtrl+Z", "Ctrl+Z"},
    {32795, "&Skins", "R&eload\tF5", "F5"},
    {32776, "&Skins", "&Scan Folder...", ""},
    {32799, "&Skins", "Re-size &All...", ""},
    {32804, "&Skins", "Re-&Palette", ""},
    {32855, "&Skins", "Replace colors", ""},
    {32851, "&Skins", "&Palette", ""},
    {32852, "&Skins", "P&ixels", ""},
    {32853, "&Skins", "&Both", ""},
    {32843, "&Skins", "&Outline Selected", ""},
    {32844, "&Skins", "&Fill Selected", ""},
    {32845, "&Skins", "&Shade Selected", ""},
    {32847, "&Skins", "Load To Selected", ""},
    {32796, "&Mapping", "&Select All\tShift+C", "Shift+C"},
    {32797, "&Mapping", "Select &None\tC", "C"},
    {32798, "&Mapping", "&Invert Selection\tI", "I"},
    {32837, "&Mapping", "Select &Connected\t\\", "\\"},
    {32838, "&Mapping", "&Grow Selection\t]", "]"},
    {32839, "&Mapping", "Sh&rink Selection\t[", "["},
    {32830, "&Mapping", "&Hide Selected\tCtrl+H", "Ctrl+H"},
    {32831, "&Mapping", "&Unhide All\tShift+H", "Shift+H"},
    {32840, "&Mapping", "S&tore", ""},
    {32841, "&Mapping", "R&evert", ""},
    {32816, "&Mapping", "I&mport", ""},
    {32815, "&Mapping", "&Export", ""},
    {32846, "&Mapping", "Import to Selected", ""},
    {32873, "&Mapping", "Retro-Map", ""},
    {32867, "&Rectangle", "&Map from 3D View...", ""},
    {32872, "&Rectangle", "Save State", ""},
    {57664, "&Help", "&About TARNv0.9b3...", ""},
};

const std::pair<int, const char*> kMenuless[] = {
    {32832, "."}, {32833, ","}, {32834, "'"}, {32835, ";"}, {32850, ""},
    {32864, ""},  {32868, ""},  {32869, ""},  {32870, "Ctrl+Shift+G"},
};

// Commands TARN has beyond the original table, with their menus and keys.
const Expected kAdded[] = {
    {32900, "&File", "Open from &PAK...", ""},
    {57616, "&File", "Recent File", ""},
    {57617, "&File", "", ""},
    {57618, "&File", "", ""},
    {57619, "&File", "", ""},
    {32901, "&View", "&Fit Skin\tF", "F"},
    {32902, "&View", "F&rame Model\tShift+F", "Shift+F"},
    {32903, "&View", "&Play/Pause\tP", "P"},
    {32904, "&View", "Loop Current &Animation", ""},
    {32905, "&View", "&Interpolate Frames", ""},
    {32906, "&View", "&5 Frames per Second", ""},
    {32907, "&View", "&10 Frames per Second (Game)", ""},
    {32908, "&View", "&20 Frames per Second", ""},
    {32909, "&View", "&30 Frames per Second", ""},
    // Toolbar buttons of the original, given menu items and keys.
    {32836, "&Mapping", "Skin &Follows Mapping\tCtrl+M", "Ctrl+M"},
    {32866, "&Rectangle", "&Rectangle Mode\tR", "R"},
    {32910, "&Mapping", "&Left\tLeft", "Left"},
    {32911, "&Mapping", "&Right\tRight", "Right"},
    {32912, "&Mapping", "&Up\tUp", "Up"},
    {32913, "&Mapping", "&Down\tDown", "Down"},
    {32914, "&Mapping", "Left 10\tShift+Left", "Shift+Left"},
    {32915, "&Mapping", "Right 10\tShift+Right", "Shift+Right"},
    {32916, "&Mapping", "Up 10\tShift+Up", "Shift+Up"},
    {32917, "&Mapping", "Down 10\tShift+Down", "Shift+Down"},
    {32918, "&Mapping", "Pack Islands...", ""},
    {32919, "&Options", "Mirror\tM", "M"},
    {32920, "&Mapping", "Mirror Mapping From Selection", ""},
    {32921, "&Mapping", "Mirror Mapping: share texels", ""},
    {32922, "&Options", "Axis &X", ""},
    {32923, "&Options", "Axis &Y", ""},
    {32924, "&Options", "Axis &Z", ""},
    {32925, "&Options", "Use the Current &Frame", ""},
    {32926, "&Options", "Find the &Most Symmetric Frame", ""},
    {32927, "&Mapping", "Export Layout...", ""},
    {32928, "&File", "glTF...", ""},
    {32929, "&File", "OBJ...", ""},
    {32930, "&Mapping", "Import Mapping from Model...", ""},
    {32950, "&View", "Fr&ont\tNum+1", "Num+1"},
    {32951, "&View", "&Back\tCtrl+Num+1", "Ctrl+Num+1"},
    {32953, "&View", "Ri&ght\tNum+3", "Num+3"},
    {32952, "&View", "&Left\tCtrl+Num+3", "Ctrl+Num+3"},
    {32954, "&View", "&Top\tNum+7", "Num+7"},
    {32955, "&View", "Botto&m\tCtrl+Num+7", "Ctrl+Num+7"},
    {32956, "&View", "R&eset View\tHome", "Home"},
    {32957, "&View", "Pi&xel Grid", ""},
    {32958, "&Help", "&Keyboard Shortcuts", ""},
    {32959, "&Help", "&User Guide\tF1", "F1"},
    {32960, "&Skins", "Make &Icon...", ""},
    {32961, "&Options", "&Smaller\tCtrl+[", "Ctrl+["},
    {32962, "&Options", "&Larger\tCtrl+]", "Ctrl+]"},
    {32963, "&Options", "&Round", ""},
    {32964, "&Options", "&Square", ""},
    {32965, "&Options", "Fill\tG", "G"},
    {32966, "&Options", "&Paint", ""},
    {32967, "&Options", "&Shade (Ctrl: darker)", ""},
    {32968, "&Options", "&Dither 2x2", ""},
    {32969, "&Options", "Dither &4x4", ""},
    {32970, "&Options", "Rectangle Brush\tShift+4", "Shift+4"},
    {32971, "&Options", "Ellipse Brush\tShift+5", "Shift+5"},
    {32972, "&Options", "Filled Shapes", ""},
    {32973, "&Edit", "Cu&t\tCtrl+X", "Ctrl+X"},
    {32974, "&Edit", "&Copy\tCtrl+C", "Ctrl+C"},
    {32975, "&Edit", "&Paste\tCtrl+V", "Ctrl+V"},
    {32976, "&Edit", "&Delete\tDel", "Del"},
    {32977, "&Edit", "Dr&op Floating Selection\tReturn", "Return"},
    {32978, "&Edit", "Cancel &Floating Selection\tEsc", "Esc"},
    {32979, "Se&lect", "&All\tCtrl+A", ""},
    {32980, "Se&lect", "&Deselect\tCtrl+Shift+A", "Ctrl+Shift+A"},
    {32981, "Se&lect", "&Invert\tCtrl+Shift+I", "Ctrl+Shift+I"},
    {32982, "Se&lect", "From Selected &Triangles", ""},
    {32983, "&Options", "&Rectangle Select", ""},
    {32984, "&Options", "&Lasso Select", ""},
    {32985, "&Options", "Select by &Colour (Shift: every texel of it)", ""},
    {32986, "&Skins", "Flip &Horizontally\tCtrl+Shift+H", "Ctrl+Shift+H"},
    {32987, "&Skins", "Flip &Vertically\tCtrl+Shift+V", "Ctrl+Shift+V"},
    {32988, "&Skins", "Turn &Clockwise\tCtrl+Shift+Right", "Ctrl+Shift+Right"},
    {32989, "&Skins", "Turn C&ounter-clockwise\tCtrl+Shift+Left", "Ctrl+Shift+Left"},
};

TEST(CommandTable, HoldsEveryMenuCommandOnceWithItsTextKeyAndMenuInOrder) {
    std::set<int> added;
    std::vector<CommandEntry> table;
    for (const auto& e : kAdded) {
        added.insert(e.id);
        const CommandEntry* entry = findCommand(e.id);
        ASSERT_NE(entry, nullptr) << e.id;
        EXPECT_STREQ(entry->menu, e.menu) << e.id;
        EXPECT_STREQ(entry->text, e.text) << e.id;
        EXPECT_STREQ(entry->key, e.key) << e.id;
    }
    std::set<int> ids;
    for (const auto& entry : commandTable()) {
        EXPECT_TRUE(ids.insert(entry.id).second) << "twice: " << entry.id;
        if (!added.count(entry.id)) table.push_back(entry);
    }
    ASSERT_EQ(table.size(), std::size(kExpected) + std::size(kMenuless));

    for (std::size_t i = 0; i < std::size(kExpected); ++i) {
        const auto& e = kExpected[i];
        const auto& got = table[i];  // menu items keep their order
        EXPECT_EQ(got.id, e.id);
        EXPECT_STREQ(got.menu, e.menu) << e.id;
        EXPECT_STREQ(got.text, e.text) << e.id;
        EXPECT_STREQ(got.key, e.key) << e.id;
    }
    for (const auto& [id, key] : kMenuless) {
        const CommandEntry* entry = findCommand(id);
        ASSERT_NE(entry, nullptr) << id;
        EXPECT_STREQ(entry->menu, "") << id;
        EXPECT_STREQ(entry->key, key) << id;
    }
    EXPECT_EQ(findCommand(1), nullptr);
}

TEST(CommandTable, SubmenusToolbarAndListBandsFollowTheirOrder) {
    EXPECT_STREQ(findCommand(cmd::kExportSsm)->submenu, "Export...");
    EXPECT_STREQ(findCommand(cmd::kPhongScan)->submenu, "Phong Maps");
    EXPECT_STREQ(findCommand(cmd::kEnvOpen)->submenu, "Environment Maps");
    EXPECT_STREQ(findCommand(cmd::kInvertBoth)->submenu, "Invert...");
    EXPECT_STREQ(findCommand(cmd::kFxLoadToSelected)->submenu, "Skin F/X...");
    EXPECT_STREQ(findCommand(cmd::kOpen)->submenu, "");

    const std::vector<int> toolbar = {32779, 0, 32780, 32781, 0, 32802, 32800, 32801, 32965, 32970, 32971, 0, 32966, 32967, 32969, 0, 32983, 32984, 32985, 0, 32919, 0, 32836,
                                      32866, 32850, 0, 32864, 0, 32868, 32869, 0, 32901, 32902, 32903};
    EXPECT_EQ(toolbarLayout(), toolbar);

    std::vector<std::tuple<int, std::string, bool>> bands;
    for (const auto& b : listBands()) bands.emplace_back(b.id, b.caption, b.newRow);
    const std::vector<std::tuple<int, std::string, bool>> expected = {
        {130, "Skins", false}, {134, "Companions", true}, {129, "Frames", false},
        {132, "P-Maps", true}, {133, "E-Maps", false},    {131, "Modes", false}};
    EXPECT_EQ(bands, expected);
    EXPECT_EQ(menuTitles(), (std::vector<std::string>{"&File", "&Edit", "Se&lect", "&Companion", "&Options", "&Skins",
                                                      "&Mapping", "&Rectangle", "&View", "&Help"}));
    EXPECT_STREQ(findCommand(cmd::kTurnClockwise)->submenu, "Transform");
    EXPECT_STREQ(findCommand(cmd::kSelectLasso)->submenu, "Select");
    EXPECT_STREQ(findCommand(cmd::kUndo)->otherKey, "Ctrl+Alt+Z");
    EXPECT_STREQ(findCommand(cmd::kRedo)->otherKey, "Shift+Alt+Backspace");
}

TEST(CommandTable, PlainCharacterKeysAreTheOnesATextFieldOwns) {
    std::set<std::string> plain;
    for (const auto& entry : commandTable())
        if (isPlainCharacterKey(entry.key)) plain.insert(entry.key);
    EXPECT_EQ(plain, (std::set<std::string>{".", ",", "'", ";", "[", "]", "\\", "C", "I", "H", "1",
                                            "2", "Space", "F", "P", "R", "M", "G"}));
    EXPECT_EQ(menuLabel(*findCommand(cmd::kOpen)), "&Open...");
}

// Today's keys move Undo to Ctrl+Z and give the commands that lose a key
// free ones; the classic table keeps the original's. In neither does one key
// start two commands, and the keyboard list shows the keys bound.
TEST(CommandTable, TodaysAndClassicKeysDifferWhereTheyShouldAndNeverClash) {
    using Keys = std::vector<std::string>;
    struct Case {
        int id;
        Keys today;
        Keys classic;
    };
    const Case cases[] = {
        {cmd::kUndo, {"Ctrl+Z", "Alt+Backspace", "Ctrl+Alt+Z"}, {"Alt+Backspace", "Ctrl+Alt+Z"}},
        {cmd::kRedo, {"Ctrl+Shift+Z", "Ctrl+Y", "Shift+Alt+Backspace"}, {"Ctrl+Y", "Shift+Alt+Backspace"}},
        {cmd::kSaveAs, {"Ctrl+Shift+S"}, {"Ctrl+A"}},
        {cmd::kSkinRevert, {"Ctrl+Shift+R"}, {"Ctrl+Z"}},
        {cmd::kSkinStore, {"Shift+Z"}, {"Shift+Z"}},
        {cmd::kOpen, {"Ctrl+O"}, {"Ctrl+O"}},
        // Ctrl+A selects today; the classic keys keep it for Save As.
        {cmd::kSelectAllTexels, {"Ctrl+A"}, {}},
        {cmd::kDropFloating, {"Return", "Enter"}, {"Return", "Enter"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(commandKeys(*findCommand(c.id), false), c.today) << c.id;
        EXPECT_EQ(commandKeys(*findCommand(c.id), true), c.classic) << c.id;
    }
    for (bool classic : {false, true}) {
        std::map<std::string, int> owner;
        for (const auto& entry : commandTable())
            for (const std::string& key : commandKeys(entry, classic)) {
                const auto [it, fresh] = owner.emplace(key, entry.id);
                EXPECT_TRUE(fresh) << key << " starts " << it->second << " and " << entry.id;
            }
    }
    const std::vector<std::string> rows = shortcutRows(false);
    EXPECT_NE(std::find(rows.begin(), rows.end(), "Edit > Undo\tCtrl+Z, Alt+Backspace, Ctrl+Alt+Z"), rows.end());
    EXPECT_NE(std::find(rows.begin(), rows.end(), "Skins > Invert... > Both\t"), rows.end());
    const std::vector<std::string> classicRows = shortcutRows(true);
    EXPECT_NE(std::find(classicRows.begin(), classicRows.end(), "Skins > Revert\tCtrl+Z"), classicRows.end());
}

TEST(CommandState, UnboundCommandsAreDisabledAndRulesSetCheckAndText) {
    UpdateFlags flags;
    const CommandEntry& hide = *findCommand(cmd::kCompanionHide);
    EXPECT_FALSE(commandState(*findCommand(cmd::kOpen), false, flags).enabled);
    EXPECT_TRUE(commandState(*findCommand(cmd::kOpen), true, flags).enabled);

    auto s = commandState(hide, true, flags);
    EXPECT_FALSE(s.enabled);
    EXPECT_EQ(s.text, "&Hide\tH");
    flags.hasCompanion = true;
    EXPECT_TRUE(commandState(hide, true, flags).enabled);
    flags.companionHidden = true;
    EXPECT_EQ(commandState(hide, true, flags).text, "&Show\tH");
    EXPECT_TRUE(commandState(*findCommand(cmd::kCompanionOffset), true, flags).enabled);

    flags.interactionMode = 1;
    flags.brush = 2;
    flags.blendMode = 1;
    EXPECT_FALSE(commandState(*findCommand(cmd::kPaintMode), true, flags).checked);
    EXPECT_TRUE(commandState(*findCommand(cmd::kMappingMode), true, flags).checked);
    EXPECT_TRUE(commandState(*findCommand(cmd::kLineBrush), true, flags).checked);
    EXPECT_FALSE(commandState(*findCommand(cmd::kPointBrush), true, flags).checked);
    EXPECT_TRUE(commandState(*findCommand(cmd::kBlendKeepBrightness), true, flags).checked);
    EXPECT_FALSE(commandState(*findCommand(cmd::kBlendRgb), true, flags).checked);
    EXPECT_FALSE(commandState(*findCommand(cmd::kOpen), true, flags).checkable);

    // Undo and Redo name their step and are disabled without one.
    flags.undoName = "Pencil stroke";
    s = commandState(*findCommand(cmd::kUndo), true, flags);
    EXPECT_TRUE(s.enabled);
    EXPECT_EQ(s.text, "&Undo Pencil stroke\tAlt+Backspace");
    s = commandState(*findCommand(cmd::kRedo), true, flags);
    EXPECT_FALSE(s.enabled);
    EXPECT_EQ(s.text, "&Redo\tCtrl+Y");
}

TEST(CommandRegistry, RunsOnlyBoundHandlers) {
    CommandRegistry registry;
    int runs = 0;
    registry.bind(cmd::kSave, [&] { ++runs; });
    EXPECT_TRUE(registry.run(cmd::kSave));
    EXPECT_FALSE(registry.run(cmd::kSaveAs));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(registry.bound(cmd::kSave));
    EXPECT_FALSE(registry.bound(cmd::kSaveAs));
}

}  // namespace
}  // namespace tarn
