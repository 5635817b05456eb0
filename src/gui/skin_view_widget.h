#pragma once
// The 2D pane ("Skin Box"): forwards mouse input to the SkinView behaviour and
// shows its view image 1:1 with the current Skin's palette.
#include <QTimer>
#include <QWidget>

#include <utility>

#include "cursors.h"
#include "edit/floating_selection.h"
#include "edit/rectangle_tool.h"
#include "edit/select_tool.h"
#include "edit/skin_view.h"
#include "image/palette.h"
#include "indexed_blit.h"

namespace tarn {

// Draws an 8-bit image whose rows are stored bottom-up (`pitch` bytes apart)
// into the top-left `width` x `height` pixels, in the colours of `palette`.
void drawIndexedBottomUp(QPainter& painter, const std::uint8_t* rows, int pitch, int width, int height,
                         const Palette& palette);

// The grey ramp shown while there is no Skin.
const Palette& greyPalette();

class SkinViewWidget : public PaneWidget {
    Q_OBJECT
public:
    SkinViewWidget(PaneContext context, QWidget* parent = nullptr);

    SkinView& view() { return view_; }
    RectangleTool& rectangleTool() { return rectangleTool_; }
    // A redraw of `kind` (with the overlays), shown at once.
    void redraw(int kind);
    // The wheel as the shell routes it: zoom by whole notches about the
    // pointer at `at` (widget pixels), then a full redraw.
    void wheelZoom(int delta, QPoint at);
    // The whole skin in the pane, centred, then shown. Before the pane has its
    // size (a model opened at start-up), the fit waits for it.
    void fitSkin();
    // Texel edges over the skin from kGridZoom device pixels per texel.
    void setPixelGrid(bool on);
    bool pixelGrid() const { return pixelGrid_; }
    // The selection's marching ants, the floating texels' outline and the
    // shape a select tool is drawing are shown over the skin.
    void showSelection(const FloatingSelection* floating, const TexelSelectTool* tool);
    // Where a paste lands: the texel under the pointer, or the top left of
    // the skin the pane shows.
    std::pair<int, int> pastePlace() const;
    static constexpr float kGridZoom = 8.0f;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void followScale() override;
    qreal drawnScale() const override { return pointer_.scale(); }
    std::optional<QCursor> shape() const override { return cursorFor(view_.cursor()); }

private:
    // Converts what changed and repaints only that band.
    void show();
    // Brings the copy up to date with the view; the band of rows that changed.
    QRect updateCopy();
    // The selection tint for the blit, or null.
    const std::uint8_t* tint() const;
    void drawPixelGrid(QPainter& painter) const;
    void drawRectangle(QPainter& painter) const;
    // Whether the ants or a shape in progress are shown, so each redraw
    // repaints the whole pane and the ants march.
    bool selectionShown() const;
    void drawSelection(QPainter& painter) const;
    int edgeX(int s) const;
    int edgeY(int t) const;
    // The brush tip's outline around the texel under `at` (widget pixels),
    // while a stroke would paint there.
    std::optional<QRectF> outlineAt(std::optional<QPointF> at) const override;
    void penPressure(float pressure) override;

    PaneContext context_;
    SkinView view_;
    RectangleTool rectangleTool_;
    IndexedBlit blit_;
    bool fitPending_ = false;
    bool pixelGrid_ = false;
    const FloatingSelection* floating_ = nullptr;
    const TexelSelectTool* selectTool_ = nullptr;
    QTimer ants_;
    int antsPhase_ = 0;
};

}  // namespace tarn
