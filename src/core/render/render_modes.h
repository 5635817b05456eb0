#pragma once
// The nine render modes, the current one, and the switch between them with
// its availability rules.
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "render/render_mode.h"

namespace tarn {

class RefreshSink;
class Ui;

inline constexpr const char* kMsgNoPhongMaps =
    "Phong Shading is not available if there are no phong maps loaded.";
inline constexpr const char* kMsgTexturedNoSkins =
    "Textured Mode is not available if there are no skins loaded.";
inline constexpr const char* kMsgNoEnvMaps =
    "Environment Mapping is not available if there are no env-maps loaded.";
inline constexpr const char* kMsgTexGNoSkins =
    "Tex+G-Shaded is not available if there are no skins loaded.";
inline constexpr const char* kMsgTexGNoColormap =
    "The Colormap.pcx file needed for Tex+G-shaded mode is not set as the default palette "
    "under preferences!";
inline constexpr const char* kMsgTexPNoSkins =
    "Tex+P-Shaded is not available if there are no skins loaded.";
inline constexpr const char* kMsgTexPNoPhongMaps =
    "Tex+P-Shaded is not available if there are no phong maps loaded.";
inline constexpr const char* kMsgTexPNoColormap =
    "The Colormap.pcx file needed for Tex+P-shaded mode is not set as the default palette "
    "under preferences!";

// What the availability rules look at.
struct ModeResources {
    bool skinLoaded = false;
    bool phongMapLoaded = false;
    bool envMapLoaded = false;
    // Whether the Colormap named by the preferences can be read; asked only
    // when a colormap-shaded mode is chosen and everything before it holds.
    std::function<bool()> colormapReadable = [] { return false; };
    // Why a readable Colormap still cannot serve (say, its shape), or nothing;
    // asked right after colormapReadable.
    std::function<std::optional<std::string>()> colormapProblem = [] {
        return std::optional<std::string>();
    };
    // Runs after a switch is accepted, before the rebuilds: takes or frees
    // what the modes left and entered hold (the Colormap).
    std::function<void(int from, int to)> switched = [](int, int) {};
};

// The message refusing a switch to `index`, or nothing when it is available.
std::optional<std::string> modeRefusal(int index, const ModeResources& resources);

class RenderModes {
public:
    RenderModes();

    RenderMode& current() { return *modes_[std::size_t(current_)]; }
    int currentIndex() const { return current_; }
    RenderMode& at(int index) { return *modes_[std::size_t(index)]; }
    // The GetName texts in list order.
    std::vector<std::string> names() const;
    // The index of a mode by its name, or -1.
    int indexOf(const std::string& name) const;

private:
    friend bool SelectRenderMode(RenderModes&, int, const ModeResources&, Ui&, RefreshSink&);
    std::array<std::unique_ptr<RenderMode>, kRenderModeCount> modes_;
    int current_ = kModeTextured;
};

// The mode list's choice: a refused or unknown index shows its message and
// leaves everything as it was (the caller sets the list back to
// currentIndex()); an accepted one becomes current, then the light table, the
// phong shade table and the paint remap are rebuilt and every pane redrawn.
// Returns whether the mode changed.
bool SelectRenderMode(RenderModes& modes, int index, const ModeResources& resources, Ui& ui,
                      RefreshSink& refresh);

}  // namespace tarn
