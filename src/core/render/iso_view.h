#pragma once
// The 3D pane's behaviour: it owns the planes and the camera, has the current
// render mode draw into them, and turns the mouse into camera, field-of-view
// and light drags (Camera Override), painting on the model and colour picking
// through the pick plane (Paint Mode), or selecting Triangles (Mapping Mode).
// The widget forwards events and blits the colour plane with palette().
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "paint/fill_region.h"
#include "raster/frame_buffer.h"
#include "raster/rasterizer.h"
#include "render/camera_drag.h"
#include "render/iso_view_context.h"
#include "render/iso_view_input.h"
#include "render/iso_view_stroke.h"
#include "render/render_mode.h"
#include "render/render_scene.h"
#include "render/render_target.h"

namespace tarn {

class IsoView final : public PaneInput {
public:
    // The drag states, by the numbers users of the pane's history know them.
    enum class Drag : int {
        Idle = 0,
        CameraEnded = 1,  // waiting for the other button
        OtherEnded = 2,   // waiting for the other button
        OrbitZoom = 100,
        LookAroundDolly = 101,
        FieldOfView = 102,
        Light = 103,
        Painting = 200,
        ColorPick = 201,
        Select = 300,
        Deselect = 301,
    };

    // `scene` gathers what a draw reads; `currentMode` is the mode to draw with.
    IsoView(PaneContext context, std::function<RenderScene()> scene, std::function<RenderMode*()> currentMode);

    // Client size; planes are reallocated (and drawn) only when the rounded
    // width or the height changes.
    void resize(int width, int height);
    // Draws the current state with the current mode. Every redraw kind of the
    // refresh protocol comes here.
    void render();
    // Turns the view by whole wheel notches about the vertical through the look-at point.
    void rotateByWheel(int delta);
    // Moves the eye by whole wheel notches towards the model point under
    // client pixel (x, y) (y from the top), which stays under the pointer.
    void zoomTowards(int delta, int x, int y);

    void mousePress(const MouseEvent& e, PointerControl& pointer) override;
    void mouseMove(const MouseEvent& e, PointerControl& pointer) override;
    void mouseRelease(const MouseEvent& e, PointerControl& pointer) override;
    void captureLost(PointerControl& pointer) override;

    const FrameBuffer& frame() const { return frame_; }
    // One byte per plane pixel: non-zero where a selected Triangle shows, off
    // the mapping edges, in Mapping Mode; empty when nothing is selected.
    const std::vector<std::uint8_t>& tint() const { return tint_; }
    // The colours the colour plane is shown in: the current mode's palette.
    const Palette& palette() const;
    RenderTarget& target() { return target_; }
    int clientWidth() const { return clientWidth_; }
    int renderCount() const { return renderCount_; }
    Drag drag() const { return drag_; }
    PaneCursor cursor() const { return paneCursor(context_.modes); }

    // Device pixels per pointer unit of the screen the pane is on: the view is
    // drawn at device pixels, but a camera drag turns by the hand's movement.
    void setPointerScale(float scale) { pointerScale_ = scale > 0.0f ? scale : 1.0f; }

private:
    // The selection tint of the frame just drawn.
    void markSelection();
    bool markSelectedTexels();
    Skin* paintableSkin() const;
    std::int32_t pickAt(int x, int y) const;
    void startCameraDrag(Drag kind, PointerControl& pointer);
    void cameraMove(const MouseEvent& e, PointerControl& pointer);
    bool pickHoldsTexels() const;
    // Returns whether it walked a run (and asked for its redraw).
    bool paintLine(int ax, int ay, int bx, int by);
    // A brush wider than a pixel: every visible texel whose centre lies under
    // the tip at each point of the segment.
    bool paintWideLine(int ax, int ay, int bx, int by);
    // The fill: the region of the clicked texel's index across the model's surface.
    bool fillOnSurface(int x, int y);
    void pickColor(int x, int y);
    void selectAt(int x, int y, bool select);
    void waitOrEnd(unsigned buttonsHeld, PointerControl& pointer);

    PaneContext context_;
    std::function<RenderScene()> scene_;
    std::function<RenderMode*()> currentMode_;
    FrameBuffer frame_;
    std::vector<std::uint8_t> tint_;
    std::vector<std::uint8_t> chosen_;  // per Triangle: 1 when selected
    RenderTarget target_;
    int clientWidth_ = -1;
    int clientHeight_ = -1;
    int renderCount_ = 0;

    Drag drag_ = Drag::Idle;
    CameraDrag camera_;
    WarpedDrag warp_;
    float pointerScale_ = 1.0f;
    float dragRestX_ = 0.0f, dragRestY_ = 0.0f;
    int pressX_ = 0, pressY_ = 0;
    BrushStroke stroke_;
    SurfaceFill surfaceFill_;
    // Clips brush segments to the client area.
    Rasterizer clipper_;
};

}  // namespace tarn
