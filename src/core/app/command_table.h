#pragma once
// The main window's command table as data: one entry per command with its
// menu place, text, key and update rule. Menus, toolbar and keys are all
// built from it, so a command's id, text and key are written down once.
#include <string>
#include <vector>

namespace tarn {

// What decides a command's checked, enabled or text state besides whether it
// has a handler at all.
enum class UpdateRule {
    None,
    NeedsCompanion,      // enabled only with a current Companion
    CompanionHideShow,   // as NeedsCompanion; reads "&Show\tH" while it is hidden
    CameraOverride,      // checked while on
    PaintMode,           // checked in Paint Mode
    MappingMode,         // checked in Mapping Mode
    PointBrush,          // checked when the brush is 0
    PencilBrush,         // 1
    LineBrush,           // 2
    FillBrush,           // 3
    RectangleBrush,      // 4
    EllipseBrush,        // 5
    FilledShapes,        // checked while shapes are filled
    InkPaint,            // checked for the ink it chooses
    InkShade,
    InkDither2,
    InkDither4,
    SkinFollowsMapping,  // checked while on
    MappingOverlay,      // checked while the mapping shows in Paint Mode
    RectangleMode,       // checked while the skin view's rectangle mode is on
    BlendRgb,            // checked while the blend mode is 0
    BlendKeepBrightness, // checked while the blend mode is 1
    RecentFile,          // shows its recent-file entry; hidden without one
    Playing,             // checked while the animation preview plays
    LoopAnimation,       // checked while it loops over the current animation
    Interpolate,         // checked while it blends between frames
    FrameRate,           // checked while the preview runs at its rate
    Undo,                // enabled with a step to undo; names it
    Redo,                // enabled with a step to redo; names it
    InMappingMode,       // enabled only in Mapping Mode, or while texels float (the arrows move them)
    Mirror,              // checked while strokes are mirrored
    MirrorShareTexels,   // checked while mirrored mapping shares the texels
    SymmetryAxis,        // checked for the symmetry axis it chooses
    PixelGrid,           // checked while the skin pane shows texel edges
    BrushRound,          // checked while the tip is round
    BrushSquare,         // checked while the tip is square
    SelectTool,          // checked for the select tool it chooses
    Floating,            // enabled only while texels float
};

// The select tool (SelectTool's value) a SelectTool command chooses; 0 for
// every other command.
int selectToolOf(int id);

// The symmetry axis (0 x, 1 y, 2 z) a SymmetryAxis command chooses; -1 for
// every other command.
int symmetryAxisOf(int id);

// How far a nudge command moves the selection, in skin pixels; (0, 0) for
// every other command.
struct NudgeStep {
    int dx = 0;
    int dy = 0;
};
NudgeStep nudgeOf(int id);

// The preview rate a FrameRate command chooses, frames per second.
int frameRateOf(int id);

struct CommandEntry {
    int id;
    // Top-level menu title ("&File"); empty for commands reached only by key
    // or toolbar.
    const char* menu;
    // Submenu title ("Export..."); empty when the item sits in the menu itself.
    const char* submenu;
    // Menu text with its "\t" key text, or the tooltip of a menu-less command.
    const char* text;
    // Portable key notation: "Ctrl+O", "Shift+1", "Ctrl+Up", "F12", "Space",
    // "." ...; empty for none.
    const char* key;
    UpdateRule rule;
    // A second key doing the same; empty for none.
    const char* otherKey = "";
};

// Every command once, menus in menu order, items in item order.
const std::vector<CommandEntry>& commandTable();
// The entry of `id`, or nullptr.
const CommandEntry* findCommand(int id);
// The top-level menus in their order.
const std::vector<std::string>& menuTitles();

// Toolbar buttons by command id in their order; kToolbarSeparator marks a gap.
inline constexpr int kToolbarSeparator = 0;
const std::vector<int>& toolbarLayout();
bool onToolbar(int id);

// The menu text before its tab (what a menu shows as the label).
std::string menuLabel(const CommandEntry& entry);
// The keys a command answers to, the one its menu shows first. Today's keys
// replace a few of the table's, where every desktop now means something else
// by them (Ctrl+Z undoes); with "Classic keys" the table's own stand.
std::vector<std::string> commandKeys(const CommandEntry& entry, bool classicKeys);
// Every command with a key or a menu place, one "Menu > Item<TAB>Key" row
// each in table order, for the list of keyboard shortcuts.
std::vector<std::string> shortcutRows(bool classicKeys);
// True for a key that types a character when pressed without modifiers: such
// keys belong to a text field while one has the focus.
bool isPlainCharacterKey(const std::string& key);
// Checked-state rules make a command checkable.
bool isCheckRule(UpdateRule rule);

// The six list boxes in their band order.
struct ListBand {
    int id;
    const char* caption;
    const char* tooltip;
    bool newRow;  // its band starts a new row of the bar
};
enum ListId : int {
    kListFrames = 129,
    kListSkins = 130,
    kListModes = 131,
    kListPhongMaps = 132,
    kListEnvMaps = 133,
    kListCompanions = 134,
};
const std::vector<ListBand>& listBands();

}  // namespace tarn
