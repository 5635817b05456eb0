#pragma once
// The 2D pane: the current Skin magnified and panned into an 8-bit view image,
// with a source map telling which skin pixel each view pixel shows, the
// mapping overlay, the three brushes, the colour pick, the camera drag and the
// wheel zoom. The widget only forwards events and blits `image()`.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "edit/map_rect.h"
#include "model/mesh.h"
#include "render/iso_view_stroke.h"
#include "raster/rasterizer.h"
#include "render/iso_view_context.h"
#include "render/iso_view_input.h"

namespace tarn {

// Mouse handling that other tools (mapping mode, rectangle editing) plug into
// the pane. Each returns whether it took the press; the pane then forwards the
// moves and the release to it until the drag ends.
class SkinViewTool {
public:
    virtual ~SkinViewTool() = default;
    // The pane's pointer services, handed over before each press and move,
    // for tools that hide the pointer or warp it during their drag.
    virtual void usePointer(PointerControl&) {}
    virtual bool press(const MouseEvent& e) = 0;
    virtual void move(const MouseEvent& e) = 0;
    virtual void release(const MouseEvent& e) = 0;
    // The capture was taken away: end the drag as a release would.
    virtual void cancel() = 0;
};

class SkinView final : public PaneInput {
public:
    static constexpr float kMinZoom = 1.0f;
    static constexpr float kMaxZoom = 12.0f;
    static constexpr float kStartZoom = 3.0f;
    static constexpr float kStartPan = 50.0f;

    enum class Drag { Idle, ReleasePending, ReleasePendingQuiet, Camera, Painting, ColorPick, Tool };

    explicit SkinView(PaneContext context);

    // Client size; the view image is as wide as the width rounded up to 4.
    void resize(int width, int height);
    // One of the redraw kinds, then the overlays.
    void redraw(int kind);

    void mousePress(const MouseEvent& e, PointerControl& pointer) override;
    void mouseMove(const MouseEvent& e, PointerControl& pointer) override;
    void mouseRelease(const MouseEvent& e, PointerControl& pointer) override;
    void captureLost(PointerControl& pointer) override;
    // Wheel zoom by whole notches of 120 about client point (x, y), which
    // keeps showing the same spot of the skin; then a full redraw.
    void wheel(int delta, int x, int y);
    // About the pane's centre.
    void wheel(int delta) { wheel(delta, viewWidth_ / 2, viewHeight_ / 2); }
    // Centres the current Skin at the largest zoom that shows all of it
    // (within the zoom's limits), then a full redraw.
    void fit();

    // The tools of mapping mode (either button) and of rectangle mode (left
    // button); null leaves those presses unanswered.
    void setMappingTool(SkinViewTool* tool) { mappingTool_ = tool; }
    void setRectangleTool(SkinViewTool* tool) { rectangleTool_ = tool; }
    // Paint Mode's left button goes to it first (the select tools and the
    // floating selection); what it does not take paints.
    void setSelectTool(SkinViewTool* tool) { selectTool_ = tool; }
    bool rectangleMode = false;
    MapRect mapRect;

    int clientWidth() const { return clientWidth_; }
    int viewWidth() const { return viewWidth_; }
    int viewHeight() const { return viewHeight_; }
    // Palette indices, rows bottom-up, viewWidth() bytes per row.
    const std::vector<std::uint8_t>& image() const { return image_; }
    // The skin pixel each view pixel shows, or -1, laid out as image(). The
    // pane keeps it by rows (see SkinSources); the whole map is built only
    // when asked for.
    const std::vector<std::int32_t>& sourceMap() const;
    // Laid out as image(): non-zero inside the visible selected Triangles,
    // off every line, while the mapping is shown; empty when nothing is tinted.
    const std::vector<std::uint8_t>& tint() const { return tint_; }
    // The skin pixel shown at client point (x, y), or -1.
    std::int32_t sourceAt(int x, int y) const;
    // Rows of image() (bottom-up), first to end - 1: those drawn since the
    // last call, the rest as they were then; empty when none was drawn.
    struct RowSpan {
        int first = 0;
        int end = 0;
    };
    RowSpan takeDrawnRows();

    float zoom() const { return zoom_; }
    void setZoom(float z);
    float panX() const { return panX_; }
    float panY() const { return panY_; }
    void setPan(float x, float y) {
        panX_ = x;
        panY_ = y;
    }
    Drag drag() const { return drag_; }
    // Ctrl and Shift as they were at the press of the current drag.
    bool ctrlAtPress() const { return ctrl_; }
    bool shiftAtPress() const { return shift_; }
    PaneCursor cursor() const { return paneCursor(context_.modes); }
    const PaneModes& modes() const { return context_.modes; }

    // Client point of skin coordinate (s, t)'s pixel centre, truncated.
    int clientXOfSkin(float s) const;
    int clientYOfSkin(float t) const;
    // Skin coordinate under client point (x, y), truncated toward zero.
    int skinXAt(int x) const;
    int skinYAt(int y) const;

private:
    Skin* skin() const;
    // The skin pixel of every view pixel. The skin is an upright rectangle:
    // nearly every row the fill covers spans the same columns, reading the
    // same texture columns, from one texel row. Such a row is kept as that
    // row's offset beside one column table; any other row (where the texel
    // row changes along it) pixel by pixel.
    struct SkinSources {
        std::vector<std::int32_t> columns;  // per view column: texel column, or -1
        // Per view row, bottom-up: the texel row's offset; -1 for none; or
        // -2 - k for row k of `exact`.
        std::vector<std::int32_t> rows;
        std::vector<std::int32_t> exact;  // view-wide rows of skin pixels or -1
        std::int32_t at(std::size_t row, std::size_t x, std::size_t width) const;
    };
    // Draws the skin into the view image from the spans of its texture fill
    // (the same pixels the fill draws); their sources become the pane's when
    // `keep` is set.
    void drawSkinQuad(const Skin& skin, bool keep);
    void drawOverlays(const Skin& skin);
    // Adds rows first to end - 1 to those takeDrawnRows() reports.
    void markDrawn(int first, int end);
    void drawMappingEdges();
    void drawSelectionTint(bool shown);
    // Client pixels of the centres of `tri`'s MappingVerts; false when one is not in the table.
    bool viewCorners(const Triangle& tri, std::array<int, 3>& cx, std::array<int, 3>& cy) const;
    // The skin's mirror line of Mirror mode, once Ctrl+click set it.
    void drawMirrorLine(const Skin& s);
    void drawMapRect();
    void drawLine(int x0, int y0, int x1, int y1, std::uint8_t color);
    void clampMapRect(const Skin& skin);

    void startPainting(const MouseEvent& e, PointerControl& pointer);
    // Moves (x, y) so that it lies on a diagonal from the press point.
    void squareFromPress(int& x, int& y) const;
    // Returns whether it painted a run (and asked for its redraw).
    bool paintSegment(int ax, int ay, int bx, int by);
    void pickColor(int x, int y);
    void cameraStep(const MouseEvent& e, PointerControl& pointer);
    void endDrag(PointerControl& pointer, bool waitForButtons, unsigned buttonsHeld);
    void resetDrag();
    void endCamera(PointerControl& pointer);
    // Ends what a paint, pick or tool drag was doing; `release` is null when
    // the capture was taken away.
    void finishDragWork(const MouseEvent* release);

    PaneContext context_;
    int clientWidth_ = 0;
    int viewWidth_ = 0;
    int viewHeight_ = 0;
    std::vector<std::uint8_t> image_;
    RowSpan drawnRows_;
    SkinSources sources_;
    SkinSources drawn_;
    std::vector<TextureSpan> spans_;
    mutable std::vector<std::int32_t> sourceMap_;
    mutable bool sourceMapBuilt_ = false;
    std::vector<std::uint8_t> tint_;
    Rasterizer tintRaster_;
    float zoom_ = kStartZoom;
    float panX_ = kStartPan;
    float panY_ = kStartPan;

    Drag drag_ = Drag::Idle;
    bool ctrl_ = false;
    bool shift_ = false;
    WarpedDrag warp_;
    BrushStroke stroke_;
    SkinViewTool* mappingTool_ = nullptr;
    SkinViewTool* rectangleTool_ = nullptr;
    SkinViewTool* selectTool_ = nullptr;
    SkinViewTool* activeTool_ = nullptr;
    // Draws the quadrilateral and overlays, and clips brush segments.
    Rasterizer raster_;
    std::vector<std::int32_t> rowOffsets_;
    // The skin's pixels as the view image last showed them: a copy from the
    // skin then visits only the view pixels of the texels that changed since.
    std::vector<std::uint8_t> shownSkin_;
    void copyFromSkin(const Skin& s);
};

}  // namespace tarn
