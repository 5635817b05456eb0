#pragma once
// The seam between commands and whatever shows things to the user. Commands
// never open a window themselves: the Qt application, the command-line tool
// and the tests each provide their own Ui.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/progress.h"

namespace tarn {

enum class Answer { Ok, Yes, No, Cancel };

enum class QuestionKind {
    YesNo,           // Yes and No
    YesNoCancel,     // Yes, No and Cancel, no icon
    YesNoCancelIcon, // Yes, No and Cancel with the question icon
    SaveDiscardCancel  // "Save All" (Yes), "Discard" (No) and Cancel
};

struct FileDialogRequest {
    // Filter in the "desc|pattern|desc|pattern||" form, every pair ending in '|'.
    std::string filter;
    std::string initialName;   // may be a wildcard such as "*.pcx"
    std::string startFolder;
    bool mustExist = false;
    std::string title;         // empty: the platform's own title
};

// The fields of the "Offset Companion Model" dialog.
struct CompanionOffsets {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// The choices of the "Map from 3D View" dialog; the defaults are its state
// each time it opens.
struct MapFromViewOptions {
    bool parallel = false;     // "Parallel"; "Perspective" otherwise
    bool noBackfaces = false;  // leave out Triangles facing away from the camera
    bool flip = false;         // top and bottom exchanged
    bool mirror = false;       // left and right exchanged
};

// One row of the About box: what, how many now, the format's limit.
struct StatisticsRow {
    std::string data;
    std::string current;
    std::string limit;
};

// The fields of the "Preferences" dialog.
struct PreferencesValues {
    int dirScanPrompt = 2;  // 0 auto yes, 1 auto no, 2 prompt
    bool skipIntro = false;
    bool quickExit = false;
    bool palOnTop = false;
    bool reloadOutside = true;  // "Reload files changed outside TARN"
    bool classicKeys = false;   // "Classic keys": the old key table in place of today's
    bool offerWeapon = true;    // "Offer a player's weapon as a companion"
    bool pressureStrength = false;  // "Pen pressure sets the paint strength" (else the brush size)
    std::string palettePath;
    std::string phongPath;
    std::string envPath;
    std::string introWav;
    int introNumber = 8;  // 0..7 clips, 8 random, 9 custom
};

// What the Preferences dialog's "..." buttons do; each returns the text for
// its field, or nothing to leave the field as it is.
struct PreferencesBrowsers {
    std::function<std::optional<std::string>()> palette;
    std::function<std::optional<std::string>()> phongFolder;
    std::function<std::optional<std::string>()> envFolder;
    std::function<std::optional<std::string>()> introWav;
};

// The choices of the "Pack Islands" dialog.
enum class PackSizeChoice { Current, Given, Shrink };
struct PackIslandsValues {
    int margin = 2;          // texels grown around every island
    bool rotate = false;     // quarter turns and mirror images allowed
    bool fitScale = false;   // every island scaled by the largest common factor that fits
    PackSizeChoice size = PackSizeChoice::Current;
    int width = 0;           // the size given
    int height = 0;
    bool selectedOnly = false;  // only the selected islands move
};

// What the "Pack Islands" dialog shows besides its fields.
struct PackIslandsShown {
    PackIslandsValues values;
    int wastedBefore = 0;  // "Wasted Space" now, per cent
    // What the choices would give: "Wasted Space" after and the skin size, or
    // why they cannot be packed (then `ok` is false and OK is off). Planning
    // can take a while on thousands of islands, so the dialog calls it away
    // from the window; it reads only its own copy of the mapping and returns
    // soon once `progress` is asked to stop.
    struct Preview {
        std::string text;
        bool ok = false;
    };
    std::function<Preview(const PackIslandsValues&, Progress&)> preview;
};

// The fields of the "Resize Skins" dialog.
struct ResizeSkinsValues {
    int width = 0;
    int height = 0;
    bool enforceLimits = true;
};

// The fields of the "Snapshots" dialog.
struct SnapshotOptions {
    bool custom = false;  // "Custom:" rather than "Default"
    int width = 0;
    int height = 0;
    bool trueColour = false;  // "24 Bit Color"
    bool smoothing = false;   // "Smoothing:"
    int sharpness = 0;        // the slider from "Blurry" (0) to "Sharp" (9999)
};

// The choices of the "Export Layout" dialog.
struct LayoutChoices {
    int scale = 1;              // picture pixels per texel, 1..8
    bool overSkin = false;      // the current skin beneath the edges
    bool fill = false;          // each chart in its own colour
    bool selectedOnly = false;  // only the selected Triangles
};

// An image on the system clipboard: TARN's own, an indexed PNG with the
// skin's palette whose indices paste exactly; or another program's, as RGBA
// (four bytes a pixel, top row first).
struct ClipboardImage {
    std::vector<std::uint8_t> tarnPng;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

struct FileDialogResult {
    std::string path;
    int filterIndex = 1;  // position of the chosen filter, first = 1
};

class Ui {
public:
    virtual ~Ui() = default;

    virtual void message(const std::string& text) = 0;
    virtual Answer ask(const std::string& text, QuestionKind kind) = 0;
    virtual std::optional<FileDialogResult> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<FileDialogResult> saveFile(const FileDialogRequest& request) = 0;
    // The folder browser: file-system folders only.
    virtual std::optional<std::string> browseFolder(const std::string& title) = 0;

    // Custom dialogs (offsets, resize, preferences, ...) are added here as
    // further virtual functions, each taking and returning a plain record.

    // "Offset Companion Model", filled with `current`; nothing on Cancel.
    virtual std::optional<CompanionOffsets> offsetCompanionModel(const CompanionOffsets& current) {
        (void)current;
        return std::nullopt;
    }

    // "Preferences", filled with `current`; the edited values on OK, nothing
    // on Cancel.
    virtual std::optional<PreferencesValues> editPreferences(const PreferencesValues& current,
                                                             const PreferencesBrowsers& browsers) {
        (void)current;
        (void)browsers;
        return std::nullopt;
    }

    // "Map from 3D View", showing `defaults`; the choices on OK, nothing on Cancel.
    virtual std::optional<MapFromViewOptions> mapFromView(const MapFromViewOptions& defaults) {
        (void)defaults;
        return std::nullopt;
    }

    // "Retro-Map": how many texels of padding to grow around the islands,
    // showing `current`; the number on OK, nothing on Cancel.
    virtual std::optional<int> retroMapPadding(int current) {
        (void)current;
        return std::nullopt;
    }

    // "Pack Islands", filled with `shown.values`; the choices on OK, nothing
    // on Cancel.
    virtual std::optional<PackIslandsValues> packIslands(const PackIslandsShown& shown) {
        (void)shown;
        return std::nullopt;
    }

    // "Resize Skins", filled with `current`; nothing on Cancel.
    virtual std::optional<ResizeSkinsValues> resizeSkins(const ResizeSkinsValues& current) {
        (void)current;
        return std::nullopt;
    }

    // "Snapshots", filled with `initial`; the chosen values on OK, nothing on
    // Cancel.
    virtual std::optional<SnapshotOptions> snapshotOptions(const SnapshotOptions& initial) {
        (void)initial;
        return std::nullopt;
    }

    // "Export Layout", filled with `initial`; the choices on OK, nothing on
    // Cancel.
    virtual std::optional<LayoutChoices> layoutChoices(const LayoutChoices& initial) {
        (void)initial;
        return std::nullopt;
    }

    // A list of `entries` with a field that filters it as the user types;
    // the chosen entry, or nothing on Cancel.
    virtual std::optional<std::string> chooseFromList(const std::string& title,
                                                      const std::vector<std::string>& entries) {
        (void)title;
        (void)entries;
        return std::nullopt;
    }

    // The About box with the model statistics; it only informs.
    virtual void aboutStatistics(const std::vector<StatisticsRow>& rows) { (void)rows; }

    // A read-only table titled `title`; each row's columns are separated by
    // tabs. It only informs.
    virtual void showTable(const std::string& title, const std::vector<std::string>& rows) {
        (void)title;
        (void)rows;
    }
    // Runs `work` while the window stays live, showing `title`, how far the
    // work got and Cancel; false when cancelled, and then whatever the work
    // made is dropped and nothing changes. Here it simply runs.
    virtual bool runWithProgress(const std::string& title, const ProgressWork& work) {
        (void)title;
        Progress progress;
        work(progress);
        return !progress.stopped();
    }
    // Puts an indexed PNG on the system clipboard as TARN's own and as an
    // ordinary image, so that other programs paste it too.
    virtual void putClipboardImage(const std::vector<std::uint8_t>& indexedPng) { (void)indexedPng; }
    // The image on the system clipboard, TARN's own first; nothing without one.
    virtual std::optional<ClipboardImage> clipboardImage() { return std::nullopt; }
    // Opens a document (the user guide) in the desktop's viewer; false when
    // none could show it.
    virtual bool openDocument(const std::string& path) {
        (void)path;
        return false;
    }
};

}  // namespace tarn
