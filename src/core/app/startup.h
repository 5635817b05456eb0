#pragma once
// Start-up and shutdown of the application, written against the Ui seam and
// the settings store so that every path through them can be scripted.
#include <optional>
#include <string>
#include <vector>

#include "paint/paint_state.h"
#include "platform/dialogs.h"
#include "platform/settings.h"
#include "platform/ui.h"

namespace tarn {

class RefreshSink;

inline constexpr const char* kLocateBaseTitle = "Please locate the 'baseq2' folder under Quake2";
inline constexpr const char* kMustSpecifyFolder = "You must specify a valid folder";
inline constexpr const char* kFolderNotValidChooseAnother = "That folder is not valid,\nPlease choose another";
inline constexpr const char* kCommandLineModelError = "There was an error loading from the command line!";
inline constexpr const char* kCommandLineSkinError = "Error loading skin from the command line!";
inline constexpr const char* kSkinWrongDimensions = "Error loading skin: Incorrect dimensions!";
inline constexpr const char* kOpenFromPakTitle = "Open from PAK";
inline constexpr const char* kQuitSaveQuestion = "Save them before quitting?";

// Splitter position is kept as a fraction times this.
inline constexpr int kSplitterScale = 10000;
inline constexpr int kDefaultSplitter = 6500;

// What the start-up and close flows need from the model side. The
// application implements it over the real Mesh and lists; tests fake it.
class StartupModel {
public:
    enum class SkinResult { Added, Unreadable, WrongSize };

    virtual ~StartupModel() = default;
    virtual bool meshLoaded() const = 0;
    // LoadMesh: reports its own failures and returns whether it loaded.
    virtual bool loadMesh(const std::string& path) = 0;
    // Reads an image; when it has the Mesh's skin size it joins the list as
    // an external Skin named by its path and becomes current.
    virtual SkinResult addExternalSkin(const std::string& path) = 0;
    // The folder scans of the phong and environment maps, each making the
    // entry at its current index current when the list is not empty.
    virtual void scanPhongMaps(const std::string& folder) = 0;
    virtual void scanEnvMaps(const std::string& folder) = 0;
    // Names of Skins whose pixels differ from their stored state.
    virtual std::vector<std::string> modifiedSkins() const = 0;
    // The model's name while it holds changes not written; empty otherwise.
    virtual std::string unsavedModel() const { return {}; }
    // Saves every unsaved skin and the model, asking where one has no file
    // yet; false when one was not saved.
    virtual bool saveAll() { return false; }
};

// How this run was started.
struct StartupRequest {
    bool ctrlHeld = false;
    // The command line as one text ("tarn -md2 a.md2 skin.pcx").
    std::string commandLine;
    // Relative command-line paths are taken from here.
    std::string workingFolder;
    // A base folder for this run only, used without asking (--base).
    std::optional<std::string> baseFolder;
};

struct StartupResult {
    bool keepRunning = false;  // false: no model could be had, the application ends
    std::string currentFile;
    double splitterFraction = kDefaultSplitter / static_cast<double>(kSplitterScale);
};

// Base folder: the stored one when usable, else the folder browser until a
// usable folder is chosen.
std::string ensureBaseFolder(Ui& ui, const SettingsStore& settings,
                             const std::optional<std::string>& forced);

// "LoadDir"/"SaveDir" fall back to the base folder; they are stored back, and
// so is the base folder unless it was given for this run only.
Folders resolveFolders(const std::string& base, SettingsStore& settings, bool storeBase = true);

// The tokens after "-md2": split at spaces outside double quotes, quotes
// removed. Empty when the line holds no "-md2" or nothing after it.
std::vector<std::string> commandLineTokens(const std::string& commandLine);

// Loads the model and skins of the "-md2" command line. Returns the model
// path when the model loaded (it is then stored as "CurFile").
std::optional<std::string> commandLineLoad(const StartupRequest& request, StartupModel& model,
                                           Ui& ui, SettingsStore& settings, RefreshSink& refresh);

// The whole start-up sequence from the base folder to the first refresh.
// `folders` are set as soon as they are known: the loads read the base folder.
StartupResult runStartup(const StartupRequest& request, StartupModel& model, Ui& ui,
                         SettingsStore& settings, RefreshSink& refresh, Folders& folders);

// The window's close request: stores the splitter and the colour slots. With
// nothing unsaved it closes; otherwise it names what is unsaved and offers to
// save it all, to discard it or to stay. "Quick Exit" asks only about skins.
// Returns whether the window may close.
bool confirmClose(Ui& ui, SettingsStore& settings, double splitterFraction,
                  const ColorSlots& slots, StartupModel& model);

// Asks before throwing away Skins with unstored changes. True when there are
// none or the user agreed.
bool confirmDiscardSkins(Ui& ui, const std::vector<std::string>& modifiedSkins);

}  // namespace tarn
