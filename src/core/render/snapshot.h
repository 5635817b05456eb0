#pragma once
// Snapshot (F12): the "Snapshots" dialog's rules, the save dialog, and the
// picture itself: the current view drawn again with the current mode and
// camera at the chosen size, in the mode's palette or in true colour, and
// optionally smoothed.
#include <functional>
#include <optional>
#include <string>

#include "image/palette.h"
#include "platform/dialogs.h"
#include "platform/fs.h"
#include "render/render_mode.h"
#include "render/render_scene.h"
#include "render/render_target.h"

namespace tarn {

inline constexpr int kSnapshotMinSide = 16;
inline constexpr int kSnapshotMaxSide = 2048;
inline constexpr int kSnapshotSliderMax = 9999;
inline constexpr const char* kSnapshotFilter =
    "Bitmap (*.bmp)|*.bmp|ZSoft PCX (*.pcx)|*.pcx|PNG (*.png)|*.png|All Files (*.*)|*.*||";
inline constexpr const char* kMsgSnapshotSize =
    "Neither Width nor Height can be less than 16 or more than 2048";

// How the picture is made.
struct SnapshotQuality {
    bool trueColour = false;
    bool smooth = false;     // only with true colour
    double factor = 1.0;     // 1.0 (softest) .. 13.49875 (sharpest)
};

// The smoothing factor of a slider position.
double smoothingFactor(int sharpness);

// A finished picture, top row first: palette indices with their palette, or
// red, green, blue bytes in true colour.
struct SnapshotPicture {
    int width = 0;
    int height = 0;
    bool trueColour = false;
    Bytes pixels;
    Palette palette{};
};

// Draws `mode` with the scene and the camera of `camera` into a picture of
// `width` x `height` (each 1..2048), framed as the 3D pane frames a pane of
// that size. Smoothing draws the view four times larger each way, band by
// band on every core, and filters it down; the factor sets the filter's
// width. The scene's rasterizer is not used.
SnapshotPicture renderSnapshot(RenderMode& mode, RenderScene scene, const RenderTarget& camera, int width,
                               int height, const SnapshotQuality& quality);

// The picture as a PCX, PNG or BMP file by the path's extension, else as the
// type of the chosen filter (first = 1); empty when an encoder ran out of memory.
Bytes encodeSnapshot(const SnapshotPicture& picture, const std::string& path, int filterIndex = 1);
// Writes that file. 0 or the errno of the failure.
int saveSnapshot(const SnapshotPicture& picture, const std::string& path, int filterIndex = 1);

// What the dialogs settled: the size, the quality and the file.
struct SnapshotRequest {
    int width = 0;
    int height = 0;
    SnapshotQuality quality;
    std::string path;
    int filterIndex = 1;
};

// The dialogs of the command: the "Snapshots" dialog filled with the pane's
// plane size, the size check for "Custom:", the save dialog in the save
// folder with the folder rule "SaveDir" and the missing-extension rule.
// Nothing when the user stopped or the size was refused.
std::optional<SnapshotRequest> askSnapshot(Ui& ui, SettingsStore& settings, Folders& folders, int paneWidth,
                                           int paneHeight);

// The whole command: ask, draw with `draw`, write; a failed write is reported.
void TakeSnapshot(Ui& ui, SettingsStore& settings, Folders& folders, int paneWidth, int paneHeight,
                  const std::function<SnapshotPicture(const SnapshotRequest&)>& draw);

}  // namespace tarn
