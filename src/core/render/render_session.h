#pragma once
// Everything one headless render needs, owned in one place: the model, its
// skins and Companions, the paint and light state, the rasterizer, the planes
// with their camera, and the nine modes. tarn-cli render, the benchmarks and
// the tests set one up, choose a mode and draw.
#include <memory>
#include <string>
#include <vector>

#include "image/skin_list.h"
#include "model/companion.h"
#include "model/mesh.h"
#include "paint/paint_state.h"
#include "raster/frame_buffer.h"
#include "raster/rasterizer.h"
#include "render/render_modes.h"
#include "render/render_scene.h"
#include "render/render_target.h"

namespace tarn {

class Ui;

struct RenderSession {
    RenderSession();
    RenderSession(const RenderSession&) = delete;
    RenderSession& operator=(const RenderSession&) = delete;

    Mesh mesh;
    SkinList skins;
    std::vector<std::unique_ptr<Companion>> companions;
    PaintState paint;
    Lighting lighting;
    Rasterizer rasterizer;
    FrameBuffer frame;
    RenderTarget target;
    RenderModes modes;
    bool mappingMode = false;

    // Inputs of the lit and colormap-shaded modes, owned by whoever sets them.
    RenderMap phongMap;
    const std::uint8_t* phongShadeTable = nullptr;
    RenderMap envMap;
    const std::uint8_t* colormap = nullptr;

    // Sizes the planes for a pane of `width` x `height` client pixels.
    void setSize(int width, int height);
    void setCamera(const Vec3f& eye, const Vec3f& lookAt, float fieldOfView);
    // Light table, shading ramps and paint remap from the current state.
    void rebuildTables();
    // What the availability rules see (no maps, no Colormap unless set).
    ModeResources resources() const;
    RenderScene scene();
    // Draws with mode `index` regardless of its availability.
    void draw(int index);
    const Palette& palette(int index) { return modes.at(index).palette; }
};

// Loads an .md2 and the skins it names (below `baseFolder`) into the session
// as Open does: a skin that cannot be used is replaced by a temporary one.
// False, with the message shown and the session unchanged, when the model
// cannot be read.
bool loadSessionModel(RenderSession& session, const std::string& path,
                      const std::string& baseFolder, Ui& ui);

// Reads a Companion and appends it; one without a fitting skin gets the
// checkerboard. False, after a message, when it cannot be read.
bool addSessionCompanion(RenderSession& session, const std::string& path,
                         const std::string& baseFolder, Ui& ui);

}  // namespace tarn
