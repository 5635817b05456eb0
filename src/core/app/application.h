#pragma once
// The application state for one run: the model, its skins and maps, the
// render modes, the paint state and the file-level state of the main window,
// with the command handlers and list-box handlers that act on it.
#include <string>
#include <vector>

#include "app/command_registry.h"
#include "app/preferences.h"
#include "app/recent_files.h"
#include "app/startup.h"
#include "edit/floating_selection.h"
#include "edit/map_from_view.h"
#include "edit/mapping_edit.h"
#include "edit/mapping_state.h"
#include "edit/skin_edit.h"
#include "image/map_colormap.h"
#include "image/maps.h"
#include "image/skin_commands.h"
#include "image/skin_list.h"
#include "model/companion.h"
#include "model/frame_player.h"
#include "model/md2_commands.h"
#include "model/mesh.h"
#include "model/symmetry.h"
#include "paint/paint_state.h"
#include "platform/dialogs.h"
#include "platform/fs.h"
#include "render/render_modes.h"
#include "render/iso_view_context.h"
#include "render/render_scene.h"

namespace tarn {

class RefreshSink;

inline constexpr const char* kShortcutsTitle = "Keyboard Shortcuts";
std::string playerWeaponQuestion(const std::string& weapon);
inline constexpr const char* kMsgNoGuide = "The user guide could not be opened.";

// Toolbar switches of the panes besides their interaction modes.
struct ViewSwitches {
    bool skinFollowsMapping = false;
    bool rectangleMode = false;
    bool pixelGrid = false;
};

// What one list box shows.
struct ListContent {
    std::vector<std::string> entries;
    std::vector<int> images;  // Skins list: 1 external, 0 linked; empty elsewhere
    int current = -1;
};

class Application final : public StartupModel {
public:
    Application(Ui& ui, SettingsStore& settings, RefreshSink& refresh);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    Ui& ui() { return *ui_; }
    // Tests put a scripted Ui in place of the real one.
    void setUi(Ui& ui) { ui_ = &ui; }
    SettingsStore& settings() { return settings_; }
    RefreshSink& refresh() { return refresh_; }

    CommandRegistry& commands() { return commands_; }
    const CommandRegistry& commands() const { return commands_; }
    UpdateFlags updateFlags() const;
    // The state of command `id` for its menu item and button.
    CommandState stateOf(int id) const;

    // The content of list `listId` (ListId), refreshed from the model.
    ListContent listContent(int listId);
    // The Skins list text of Skin `index`: its name with forward slashes,
    // marked when its pixels differ from their stored state.
    std::string skinListText(int index) const;
    // A list box reports that entry `index` was chosen.
    void listChosen(int listId, int index);
    // After every command and list choice: a current render mode whose map,
    // skins or Colormap went away says so once and gives way to Textured, or
    // to Gouraud Shaded without skins.
    void keepModeAvailable();

    // StartupModel
    bool meshLoaded() const override { return mesh.loaded; }
    bool loadMesh(const std::string& path) override;
    SkinResult addExternalSkin(const std::string& path) override;
    void scanPhongMaps(const std::string& folder) override;
    void scanEnvMaps(const std::string& folder) override;
    std::vector<std::string> modifiedSkins() const override;
    std::string unsavedModel() const override;
    bool saveAll() override;
    // Whether the mapping differs from the one in the model file.
    bool mappingChanged() const { return savedMapping.changed(); }

    // The derived tables of the paint state and the shaded modes.
    void rebuildPaintRemap();
    void rebuildShadeRamps();
    void rebuildLightTable();
    void rebuildPhongShadeTable();

    // What the skin commands work on.
    SkinContext skinContext();
    SkinEditContext skinEditContext();
    MeshFileContext meshContext();
    Companion* currentCompanion();

    // Start-up with this application's state; false ends the run.
    bool start(const StartupRequest& request);
    // The close request; true when the window may close.
    bool confirmQuit();

    // The animation preview. Moves it on by `seconds`; true when what the 3D
    // pane shows changed (another Frame, or another in-between position).
    bool advancePlayback(double seconds);
    void stopPlayback();
    // The in-between positions to draw instead of the current Frame's, or null.
    const std::vector<Vec3f>* previewPositions() const;

    // The state every Part reads and writes.
    Mesh mesh;
    // The mapping as the model file holds it, for the unsaved-work mark.
    SavedMapping savedMapping{mesh};
    SkinList skins;
    History history{skins};
    std::vector<std::unique_ptr<Companion>> companions;
    int companionIndex = -1;  // -1 while there is none
    PaintState paint;
    Lighting lighting;
    MapList phongMaps{MapKind::Phong};
    MapList envMaps{MapKind::Env};
    RenderModes modes;
    HeldColormap colormap;
    PaneModes paneModes;
    ViewSwitches view;
    Folders folders;
    std::string currentFile;
    // The PAK the current file came out of while it has no loose file.
    std::string currentFilePak;
    Bytes sourceImage;
    RecentFiles recentFiles;
    FramePlayer player;
    bool interpolateFrames = false;
    double splitterFraction = kDefaultSplitter / static_cast<double>(kSplitterScale);
    // What the Preferences dialog shows for paths never stored.
    PreferenceDefaults preferenceDefaults;
    // The user guide Help > User Guide opens; empty when none was found.
    std::string guidePath;
    // Lays the panes out after the Preferences dialog set "Pal On Top".
    std::function<void(bool)> palOnTopChanged;
    // The door of every bulk mapping change (imports, Map from 3D View).
    MappingEditor mappingEditor{&history};
    // What Map from 3D View reads of the panes: the 3D pane's camera and size,
    // and the skin pane's MapRect. Without them the command does nothing.
    std::function<ViewCamera()> viewCamera;
    std::function<MapRect*()> mapRect;
    // The symmetry Mirror mode and Mirror Mapping From Selection use, and
    // whether the mirrored mapping shares the selection's texels.
    SymmetrySetting symmetry;
    bool mirrorShareTexels = false;
    // Texels lifted or pasted that have not been dropped yet.
    FloatingSelection floating;
    // Where a paste lands: the texel under the pointer over the skin pane, or
    // the top left of the skin it shows. Without it, the skin's top left.
    std::function<std::pair<int, int>()> pastePlace;
    // Puts floating texels down (one step of the history); nothing without any.
    void dropFloating();
    // The model's most symmetric frame and axis, the skin's line unset.
    void chooseSymmetry();
    // A new model: its symmetry is searched for when first used (at once
    // while Mirror mode is on), so an open never waits for it.
    void newModelSymmetry();
    // The brush tip's size (within its limits) and shape, kept in the settings.
    void setBrushSize(int size);
    void setBrushShape(BrushShape shape);
    // After an open: a player's weapon beside its tris.md2, as a companion.
    void offerPlayerWeapon();
    // "Symmetry: frame 180 death103, axis Y".
    std::string symmetryText() const;

private:
    void bindCommands();
    void bindOptionCommands();
    void bindPaintCommands();
    void bindMapCommands();
    void bindMappingCommands();
    void bindSkinCommands();
    void bindSkinEditCommands();
    void bindFileCommands();
    void bindCompanionCommands();
    void bindMappingFileCommands();
    void bindPreviewCommands();
    void openRecentFile(int index);
    void openFromPak();
    // Puts the current file on the recent-file list when it is a file of its own.
    void noteRecentFile();
    void bindEditCommands();
    void bindMirrorCommands();
    void bindHelpCommands();
    void bindReports();
    void bindBrushCommands();
    void bindSelectionCommands();
    // Chooses the symmetry when the model has none yet.
    void keepSymmetry();
    void chooseMode(int index);
    bool skinLoaded() const;
    // Why the current mode cannot draw now, or nothing when it can.
    std::optional<std::string> currentModeLost() const;
    ModeResources heldResources() const;

    Ui* ui_;
    SettingsStore& settings_;
    RefreshSink& refresh_;
    CommandRegistry commands_;
    // Whether the current mode could draw after the last command.
    bool modeAvailable_ = false;
    // The mode the user chose (or had when it gave way), which comes back
    // when its skins or maps do; -1 before either.
    int wantedMode_ = -1;
    std::vector<Vec3f> blended_;
    bool blending_ = false;
};

}  // namespace tarn
