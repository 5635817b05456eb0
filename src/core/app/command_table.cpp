#include "app/command_table.h"

#include <algorithm>

#include "app/command_ids.h"

namespace tarn {

namespace {

constexpr const char* kFile = "&File";
constexpr const char* kEdit = "&Edit";
constexpr const char* kSelect = "Se&lect";
constexpr const char* kCompanion = "&Companion";
constexpr const char* kOptions = "&Options";
constexpr const char* kSkins = "&Skins";
constexpr const char* kMapping = "&Mapping";
constexpr const char* kRectangle = "&Rectangle";
constexpr const char* kView = "&View";
constexpr const char* kHelp = "&Help";

constexpr const char* kExport = "Export...";
constexpr const char* kPhongMaps = "Phong Maps";
constexpr const char* kEnvMaps = "Environment Maps";
constexpr const char* kInvert = "Invert...";
constexpr const char* kSkinFx = "Skin F/X...";
constexpr const char* kAnimation = "Animation";
constexpr const char* kNudge = "Nudge Selection";
constexpr const char* kSymmetry = "Symmetry";
constexpr const char* kBrushSize = "Brush Size";
constexpr const char* kBrushShape = "Brush Shape";
constexpr const char* kInk = "Ink";
constexpr const char* kSelectTools = "Select";
constexpr const char* kTransform = "Transform";

using R = UpdateRule;

const std::vector<CommandEntry> kTable = {
    {cmd::kOpen, kFile, "", "&Open...\tCtrl+O", "Ctrl+O", R::None},
    {cmd::kSave, kFile, "", "&Save\tCtrl+S", "Ctrl+S", R::None},
    {cmd::kSaveAs, kFile, "", "Save &As...\tCtrl+A", "Ctrl+A", R::None},
    {cmd::kOpenFromPak, kFile, "", "Open from &PAK...", "", R::None},
    {cmd::kExportSsm, kFile, kExport, "SSMObject", "", R::None},
    {cmd::kExportGltf, kFile, kExport, "glTF...", "", R::None},
    {cmd::kExportObj, kFile, kExport, "OBJ...", "", R::None},
    {cmd::kBaseFolder, kFile, "", "&Base Folder...", "", R::None},
    {cmd::kPreferences, kFile, "", "Preferences", "", R::None},
    {cmd::kRecentFile1, kFile, "", "Recent File", "", R::RecentFile},
    {cmd::kRecentFile1 + 1, kFile, "", "", "", R::RecentFile},
    {cmd::kRecentFile1 + 2, kFile, "", "", "", R::RecentFile},
    {cmd::kRecentFile4, kFile, "", "", "", R::RecentFile},
    {cmd::kExit, kFile, "", "E&xit", "", R::None},

    {cmd::kUndo, kEdit, "", "&Undo\tAlt+Backspace", "Alt+Backspace", R::Undo, "Ctrl+Alt+Z"},
    {cmd::kRedo, kEdit, "", "&Redo\tCtrl+Y", "Ctrl+Y", R::Redo, "Shift+Alt+Backspace"},
    {cmd::kCut, kEdit, "", "Cu&t\tCtrl+X", "Ctrl+X", R::None},
    {cmd::kCopy, kEdit, "", "&Copy\tCtrl+C", "Ctrl+C", R::None},
    {cmd::kPaste, kEdit, "", "&Paste\tCtrl+V", "Ctrl+V", R::None},
    {cmd::kDelete, kEdit, "", "&Delete\tDel", "Del", R::None},
    {cmd::kDropFloating, kEdit, "", "Dr&op Floating Selection\tReturn", "Return", R::Floating, "Enter"},
    {cmd::kCancelFloating, kEdit, "", "Cancel &Floating Selection\tEsc", "Esc", R::Floating},

    // The classic keys give Ctrl+A to Save As: today's give it here.
    {cmd::kSelectAllTexels, kSelect, "", "&All\tCtrl+A", "", R::None},
    {cmd::kDeselectTexels, kSelect, "", "&Deselect\tCtrl+Shift+A", "Ctrl+Shift+A", R::None},
    {cmd::kInvertTexels, kSelect, "", "&Invert\tCtrl+Shift+I", "Ctrl+Shift+I", R::None},
    {cmd::kSelectFromTriangles, kSelect, "", "From Selected &Triangles", "", R::None},

    {cmd::kCompanionOpen, kCompanion, "", "&Open", "", R::None},
    {cmd::kCompanionClose, kCompanion, "", "&Close", "", R::NeedsCompanion},
    {cmd::kCompanionLoadSkin, kCompanion, "", "&Load Skin", "", R::NeedsCompanion},
    {cmd::kCompanionHide, kCompanion, "", "&Hide\tH", "H", R::CompanionHideShow},
    {cmd::kCompanionOffset, kCompanion, "", "&Offset", "", R::NeedsCompanion},

    {cmd::kPhongOpen, kOptions, kPhongMaps, "&Open", "", R::None},
    {cmd::kPhongClose, kOptions, kPhongMaps, "&Close", "", R::None},
    {cmd::kPhongScan, kOptions, kPhongMaps, "&Scan Folder", "", R::None},
    {cmd::kEnvOpen, kOptions, kEnvMaps, "&Open", "", R::None},
    {cmd::kEnvClose, kOptions, kEnvMaps, "&Close", "", R::None},
    {cmd::kEnvScan, kOptions, kEnvMaps, "&Scan Folder", "", R::None},
    {cmd::kSwapDisplays, kOptions, "", "&Swap Displays", "", R::None},
    {cmd::kSnapshot, kOptions, "", "Snapshot\tF12", "F12", R::None},
    {cmd::kBenchmark, kOptions, "", "&Benchmark\tF11", "F11", R::None},
    {cmd::kCameraOverride, kOptions, "", "&Camera Override\tSpace", "Space", R::CameraOverride},
    {cmd::kPaintMode, kOptions, "", "&Paint Mode\t1", "1", R::PaintMode},
    {cmd::kMappingMode, kOptions, "", "M&apping Mode\t2", "2", R::MappingMode},
    {cmd::kPointBrush, kOptions, "", "Point Brush\tShift+1", "Shift+1", R::PointBrush},
    {cmd::kPencilBrush, kOptions, "", "Pencil Brush\tShift+2", "Shift+2", R::PencilBrush},
    {cmd::kLineBrush, kOptions, "", "Line Brush\tShift+3", "Shift+3", R::LineBrush},
    {cmd::kFillBrush, kOptions, "", "Fill\tG", "G", R::FillBrush},
    {cmd::kRectangleBrush, kOptions, "", "Rectangle Brush\tShift+4", "Shift+4", R::RectangleBrush},
    {cmd::kEllipseBrush, kOptions, "", "Ellipse Brush\tShift+5", "Shift+5", R::EllipseBrush},
    {cmd::kFilledShapes, kOptions, "", "Filled Shapes", "", R::FilledShapes},
    {cmd::kSelectRectangle, kOptions, kSelectTools, "&Rectangle Select", "", R::SelectTool},
    {cmd::kSelectLasso, kOptions, kSelectTools, "&Lasso Select", "", R::SelectTool},
    {cmd::kSelectColour, kOptions, kSelectTools, "Select by &Colour (Shift: every texel of it)", "", R::SelectTool},
    {cmd::kInkPaint, kOptions, kInk, "&Paint", "", R::InkPaint},
    {cmd::kInkShade, kOptions, kInk, "&Shade (Ctrl: darker)", "", R::InkShade},
    {cmd::kInkDither2, kOptions, kInk, "&Dither 2x2", "", R::InkDither2},
    {cmd::kInkDither4, kOptions, kInk, "Dither &4x4", "", R::InkDither4},
    {cmd::kMirror, kOptions, "", "Mirror\tM", "M", R::Mirror},
    {cmd::kBrushSmaller, kOptions, kBrushSize, "&Smaller\tCtrl+[", "Ctrl+[", R::None},
    {cmd::kBrushLarger, kOptions, kBrushSize, "&Larger\tCtrl+]", "Ctrl+]", R::None},
    {cmd::kBrushRound, kOptions, kBrushShape, "&Round", "", R::BrushRound},
    {cmd::kBrushSquare, kOptions, kBrushShape, "&Square", "", R::BrushSquare},
    {cmd::kSymmetryAxisX, kOptions, kSymmetry, "Axis &X", "", R::SymmetryAxis},
    {cmd::kSymmetryAxisY, kOptions, kSymmetry, "Axis &Y", "", R::SymmetryAxis},
    {cmd::kSymmetryAxisZ, kOptions, kSymmetry, "Axis &Z", "", R::SymmetryAxis},
    {cmd::kSymmetryCurrentFrame, kOptions, kSymmetry, "Use the Current &Frame", "", R::None},
    {cmd::kSymmetryBest, kOptions, kSymmetry, "Find the &Most Symmetric Frame", "", R::None},

    {cmd::kSkinNew, kSkins, "", "&New\tShift+N", "Shift+N", R::None},
    // The menu has always advertised Shift+O here; the key now does what it says.
    {cmd::kSkinOpen, kSkins, "", "&Open\tShift+O", "Shift+O", R::None},
    {cmd::kSkinClose, kSkins, "", "&Close/Delete\tShift+D", "Shift+D", R::None},
    {cmd::kSkinDuplicate, kSkins, "", "Dupl&icate\tCtrl+D", "Ctrl+D", R::None},
    {cmd::kSkinSave, kSkins, "", "&Save\tShift+S", "Shift+S", R::None},
    {cmd::kSkinSaveAs, kSkins, "", "Save &As\tShift+A", "Shift+A", R::None},
    {cmd::kSkinLink, kSkins, "", "&Link\tShift+L", "Shift+L", R::None},
    {cmd::kSkinUnlink, kSkins, "", "&Unlink\tCtrl+L", "Ctrl+L", R::None},
    {cmd::kSkinMoveUp, kSkins, "", "&Move Up\tCtrl+Up", "Ctrl+Up", R::None},
    {cmd::kSkinMoveDown, kSkins, "", "Move &Down\tCtrl+Down", "Ctrl+Down", R::None},
    {cmd::kSkinStore, kSkins, "", "&Store\tShift+Z", "Shift+Z", R::None},
    {cmd::kSkinRevert, kSkins, "", "&Revert\tCtrl+Z", "Ctrl+Z", R::None},
    {cmd::kSkinReload, kSkins, "", "R&eload\tF5", "F5", R::None},
    {cmd::kSkinScanFolder, kSkins, "", "&Scan Folder...", "", R::None},
    {cmd::kSkinResizeAll, kSkins, "", "Re-size &All...", "", R::None},
    {cmd::kSkinRepalette, kSkins, "", "Re-&Palette", "", R::None},
    {cmd::kReplaceColors, kSkins, "", "Replace colors", "", R::None},
    {cmd::kInvertPalette, kSkins, kInvert, "&Palette", "", R::None},
    {cmd::kInvertPixels, kSkins, kInvert, "P&ixels", "", R::None},
    {cmd::kInvertBoth, kSkins, kInvert, "&Both", "", R::None},
    {cmd::kFxOutline, kSkins, kSkinFx, "&Outline Selected", "", R::None},
    {cmd::kFxFill, kSkins, kSkinFx, "&Fill Selected", "", R::None},
    {cmd::kFxShade, kSkins, kSkinFx, "&Shade Selected", "", R::None},
    {cmd::kFxLoadToSelected, kSkins, kSkinFx, "Load To Selected", "", R::None},
    {cmd::kMakeIcon, kSkins, "", "Make &Icon...", "", R::None},
    {cmd::kFlipHorizontal, kSkins, kTransform, "Flip &Horizontally\tCtrl+Shift+H", "Ctrl+Shift+H", R::None},
    {cmd::kFlipVertical, kSkins, kTransform, "Flip &Vertically\tCtrl+Shift+V", "Ctrl+Shift+V", R::None},
    {cmd::kTurnClockwise, kSkins, kTransform, "Turn &Clockwise\tCtrl+Shift+Right", "Ctrl+Shift+Right", R::None},
    {cmd::kTurnCounterClockwise, kSkins, kTransform, "Turn C&ounter-clockwise\tCtrl+Shift+Left", "Ctrl+Shift+Left",
     R::None},

    {cmd::kSelectAll, kMapping, "", "&Select All\tShift+C", "Shift+C", R::None},
    {cmd::kSelectNone, kMapping, "", "Select &None\tC", "C", R::None},
    {cmd::kInvertSelection, kMapping, "", "&Invert Selection\tI", "I", R::None},
    {cmd::kSelectConnected, kMapping, "", "Select &Connected\t\\", "\\", R::None},
    {cmd::kGrowSelection, kMapping, "", "&Grow Selection\t]", "]", R::None},
    {cmd::kShrinkSelection, kMapping, "", "Sh&rink Selection\t[", "[", R::None},
    {cmd::kHideSelected, kMapping, "", "&Hide Selected\tCtrl+H", "Ctrl+H", R::None},
    {cmd::kUnhideAll, kMapping, "", "&Unhide All\tShift+H", "Shift+H", R::None},
    {cmd::kMappingStore, kMapping, "", "S&tore", "", R::None},
    {cmd::kMappingRevert, kMapping, "", "R&evert", "", R::None},
    {cmd::kMappingImport, kMapping, "", "I&mport", "", R::None},
    {cmd::kMappingExport, kMapping, "", "&Export", "", R::None},
    {cmd::kMappingImportToSelected, kMapping, "", "Import to Selected", "", R::None},
    {cmd::kRetroMap, kMapping, "", "Retro-Map", "", R::None},
    {cmd::kImportMappingFromModel, kMapping, "", "Import Mapping from Model...", "", R::None},
    {cmd::kPackIslands, kMapping, "", "Pack Islands...", "", R::None},
    {cmd::kMirrorMapping, kMapping, "", "Mirror Mapping From Selection", "", R::None},
    {cmd::kMirrorShareTexels, kMapping, "", "Mirror Mapping: share texels", "", R::MirrorShareTexels},
    {cmd::kExportLayout, kMapping, "", "Export Layout...", "", R::None},
    // Toolbar buttons once; menu items with keys now, so they can be found.
    {cmd::kSkinFollowsMapping, kMapping, "", "Skin &Follows Mapping\tCtrl+M", "Ctrl+M", R::SkinFollowsMapping},
    {cmd::kNudgeLeft, kMapping, kNudge, "&Left\tLeft", "Left", R::InMappingMode},
    {cmd::kNudgeRight, kMapping, kNudge, "&Right\tRight", "Right", R::InMappingMode},
    {cmd::kNudgeUp, kMapping, kNudge, "&Up\tUp", "Up", R::InMappingMode},
    {cmd::kNudgeDown, kMapping, kNudge, "&Down\tDown", "Down", R::InMappingMode},
    {cmd::kNudgeLeft10, kMapping, kNudge, "Left 10\tShift+Left", "Shift+Left", R::InMappingMode},
    {cmd::kNudgeRight10, kMapping, kNudge, "Right 10\tShift+Right", "Shift+Right", R::InMappingMode},
    {cmd::kNudgeUp10, kMapping, kNudge, "Up 10\tShift+Up", "Shift+Up", R::InMappingMode},
    {cmd::kNudgeDown10, kMapping, kNudge, "Down 10\tShift+Down", "Shift+Down", R::InMappingMode},

    {cmd::kRectangleMode, kRectangle, "", "&Rectangle Mode\tR", "R", R::RectangleMode},
    {cmd::kMapFrom3dView, kRectangle, "", "&Map from 3D View...", "", R::None},
    {cmd::kRectSaveState, kRectangle, "", "Save State", "", R::None},

    {cmd::kFitSkin, kView, "", "&Fit Skin\tF", "F", R::None},
    {cmd::kFrameModel, kView, "", "F&rame Model\tShift+F", "Shift+F", R::None},
    // The numeric keypad's sides, as 3D programs of today have them.
    {cmd::kViewFront, kView, "", "Fr&ont\tNum+1", "Num+1", R::None},
    {cmd::kViewBack, kView, "", "&Back\tCtrl+Num+1", "Ctrl+Num+1", R::None},
    {cmd::kViewRight, kView, "", "Ri&ght\tNum+3", "Num+3", R::None},
    {cmd::kViewLeft, kView, "", "&Left\tCtrl+Num+3", "Ctrl+Num+3", R::None},
    {cmd::kViewTop, kView, "", "&Top\tNum+7", "Num+7", R::None},
    {cmd::kViewBottom, kView, "", "Botto&m\tCtrl+Num+7", "Ctrl+Num+7", R::None},
    // A list or field with the focus still gets Home (the key guard).
    {cmd::kResetView, kView, "", "R&eset View\tHome", "Home", R::None},
    {cmd::kPixelGrid, kView, "", "Pi&xel Grid", "", R::PixelGrid},
    {cmd::kPlayPause, kView, kAnimation, "&Play/Pause\tP", "P", R::Playing},
    {cmd::kLoopAnimation, kView, kAnimation, "Loop Current &Animation", "", R::LoopAnimation},
    {cmd::kInterpolateFrames, kView, kAnimation, "&Interpolate Frames", "", R::Interpolate},
    {cmd::kRate5, kView, kAnimation, "&5 Frames per Second", "", R::FrameRate},
    {cmd::kRate10, kView, kAnimation, "&10 Frames per Second (Game)", "", R::FrameRate},
    {cmd::kRate20, kView, kAnimation, "&20 Frames per Second", "", R::FrameRate},
    {cmd::kRate30, kView, kAnimation, "&30 Frames per Second", "", R::FrameRate},

    {cmd::kUserGuide, kHelp, "", "&User Guide\tF1", "F1", R::None},
    {cmd::kKeyboardShortcuts, kHelp, "", "&Keyboard Shortcuts", "", R::None},
    {cmd::kAbout, kHelp, "", "&About TARNv0.9b3...", "", R::None},

    {cmd::kColorNext, "", "", "Next Colour", ".", R::None},
    {cmd::kColorPrevious, "", "", "Previous Colour", ",", R::None},
    {cmd::kColorNextRow, "", "", "Colour One Row Down", "'", R::None},
    {cmd::kColorPreviousRow, "", "", "Colour One Row Up", ";", R::None},
    {cmd::kMappingOverlayInPaint, "", "", "Show Mapping in Paint Mode", "", R::MappingOverlay},
    {cmd::kDefaultPalette, "", "", "Default Palette for the Current Skin", "", R::None},
    {cmd::kBlendRgb, "", "", "Blend Colours", "", R::BlendRgb},
    {cmd::kBlendKeepBrightness, "", "", "Keep Brightness", "", R::BlendKeepBrightness},
    {cmd::kExportDh2, "", "", "Export DH2 Mesh", "Ctrl+Shift+G", R::None},
};

struct TodayKeys {
    int id;
    std::vector<const char*> keys;
};

// The table's other keys stay beside today's, so hands that learnt them still work.
const std::vector<TodayKeys> kTodayKeys = {
    {cmd::kUndo, {"Ctrl+Z", "Alt+Backspace", "Ctrl+Alt+Z"}},
    {cmd::kRedo, {"Ctrl+Shift+Z", "Ctrl+Y", "Shift+Alt+Backspace"}},
    {cmd::kSaveAs, {"Ctrl+Shift+S"}},
    {cmd::kSkinRevert, {"Ctrl+Shift+R"}},
    {cmd::kSelectAllTexels, {"Ctrl+A"}},
};

const std::vector<int> kToolbar = {
    cmd::kCameraOverride,    kToolbarSeparator,      cmd::kPaintMode,        cmd::kMappingMode,
    kToolbarSeparator,       cmd::kPointBrush,       cmd::kPencilBrush,      cmd::kLineBrush,         cmd::kFillBrush,
    cmd::kRectangleBrush,    cmd::kEllipseBrush,     kToolbarSeparator,      cmd::kInkPaint,          cmd::kInkShade,
    cmd::kInkDither4,        kToolbarSeparator,      cmd::kSelectRectangle,  cmd::kSelectLasso,       cmd::kSelectColour,
    kToolbarSeparator,       cmd::kMirror,
    kToolbarSeparator,       cmd::kSkinFollowsMapping, cmd::kRectangleMode,  cmd::kMappingOverlayInPaint,
    kToolbarSeparator,       cmd::kDefaultPalette,   kToolbarSeparator,      cmd::kBlendRgb,
    cmd::kBlendKeepBrightness, kToolbarSeparator,    cmd::kFitSkin,          cmd::kFrameModel,
    cmd::kPlayPause,
};

const std::vector<ListBand> kLists = {
    {kListSkins, "Skins", "Current List of Strings", false},
    {kListCompanions, "Companions", "Current List of Companions", true},
    {kListFrames, "Frames", "Current List of Frames", false},
    {kListPhongMaps, "P-Maps", "Current List of Phong Maps", true},
    {kListEnvMaps, "E-Maps", "Current List of Environment Maps", false},
    {kListModes, "Modes", "Current List of Rendering Modes", false},
};

}  // namespace

const std::vector<CommandEntry>& commandTable() { return kTable; }

const CommandEntry* findCommand(int id) {
    auto it = std::find_if(kTable.begin(), kTable.end(), [id](const CommandEntry& s) { return s.id == id; });
    return it == kTable.end() ? nullptr : &*it;
}

const std::vector<std::string>& menuTitles() {
    static const std::vector<std::string> titles = {kFile,   kEdit,    kSelect,    kCompanion, kOptions,
                                                    kSkins,  kMapping, kRectangle, kView,      kHelp};
    return titles;
}

const std::vector<int>& toolbarLayout() { return kToolbar; }

int frameRateOf(int id) {
    switch (id) {
    case cmd::kRate5: return 5;
    case cmd::kRate10: return 10;
    case cmd::kRate20: return 20;
    case cmd::kRate30: return 30;
    default: return 0;
    }
}

NudgeStep nudgeOf(int id) {
    constexpr int kFar = 10;
    switch (id) {
    case cmd::kNudgeLeft: return {-1, 0};
    case cmd::kNudgeRight: return {1, 0};
    case cmd::kNudgeUp: return {0, -1};
    case cmd::kNudgeDown: return {0, 1};
    case cmd::kNudgeLeft10: return {-kFar, 0};
    case cmd::kNudgeRight10: return {kFar, 0};
    case cmd::kNudgeUp10: return {0, -kFar};
    case cmd::kNudgeDown10: return {0, kFar};
    default: return {};
    }
}

bool onToolbar(int id) { return std::find(kToolbar.begin(), kToolbar.end(), id) != kToolbar.end(); }

std::string menuLabel(const CommandEntry& entry) {
    std::string text = entry.text;
    return text.substr(0, text.find('\t'));
}

std::vector<std::string> commandKeys(const CommandEntry& entry, bool classicKeys) {
    std::vector<std::string> keys;
    if (!classicKeys) {
        auto it = std::find_if(kTodayKeys.begin(), kTodayKeys.end(),
                               [&](const TodayKeys& t) { return t.id == entry.id; });
        if (it != kTodayKeys.end()) {
            keys.assign(it->keys.begin(), it->keys.end());
            return keys;
        }
    }
    for (const char* key : {entry.key, entry.otherKey})
        if (*key) keys.emplace_back(key);
    return keys;
}

std::vector<std::string> shortcutRows(bool classicKeys) {
    std::vector<std::string> rows;
    for (const CommandEntry& entry : commandTable()) {
        std::string label = menuLabel(entry);
        if (label.empty()) continue;  // the recent-file places without a file
        label.erase(std::remove(label.begin(), label.end(), '&'), label.end());
        std::string place;
        for (const char* part : {entry.menu, entry.submenu}) {
            std::string p = part;
            p.erase(std::remove(p.begin(), p.end(), '&'), p.end());
            if (!p.empty()) place += p + " > ";
        }
        std::string keys;
        for (const std::string& key : commandKeys(entry, classicKeys)) keys += (keys.empty() ? "" : ", ") + key;
        rows.push_back(place + label + "\t" + keys);
    }
    return rows;
}

bool isPlainCharacterKey(const std::string& key) {
    return key == "Space" || key.size() == 1;
}

bool isCheckRule(UpdateRule rule) {
    return rule != UpdateRule::None && rule != UpdateRule::NeedsCompanion &&
           rule != UpdateRule::CompanionHideShow && rule != UpdateRule::Undo && rule != UpdateRule::Redo &&
           rule != UpdateRule::RecentFile && rule != UpdateRule::InMappingMode && rule != UpdateRule::Floating;
}

const std::vector<ListBand>& listBands() { return kLists; }

int selectToolOf(int id) {
    switch (id) {
    case cmd::kSelectRectangle: return 1;
    case cmd::kSelectLasso: return 2;
    case cmd::kSelectColour: return 3;
    default: return 0;
    }
}

int symmetryAxisOf(int id) {
    switch (id) {
    case cmd::kSymmetryAxisX: return 0;
    case cmd::kSymmetryAxisY: return 1;
    case cmd::kSymmetryAxisZ: return 2;
    default: return -1;
    }
}

}  // namespace tarn
