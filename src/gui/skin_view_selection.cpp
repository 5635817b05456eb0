// The skin pane's selection: marching ants along the outline of the selected
// texels (or of the floating ones), and the rectangle or lasso being drawn.
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

#include "image/skin.h"
#include "skin_view_widget.h"

namespace tarn {

namespace {

constexpr int kAntsMs = 120;
constexpr int kDash = 4;

}  // namespace

void SkinViewWidget::showSelection(const FloatingSelection* floating, const TexelSelectTool* tool) {
    floating_ = floating;
    selectTool_ = tool;
    ants_.setInterval(kAntsMs);
    connect(&ants_, &QTimer::timeout, this, [this] {
        if (!selectionShown()) return;
        antsPhase_ = (antsPhase_ + 1) % (2 * kDash);
        update();
    });
    ants_.start();
}

bool SkinViewWidget::selectionShown() const {
    if (view_.modes().mappingMode) return false;
    return context_.paint.selection.active() || (floating_ != nullptr && floating_->active()) ||
           (selectTool_ != nullptr && !selectTool_->shapeInProgress().empty());
}

std::pair<int, int> SkinViewWidget::pastePlace() const {
    const Skin* skin = context_.currentSkin ? context_.currentSkin() : nullptr;
    if (skin == nullptr || skin->width <= 0) return {0, 0};
    const qreal ratio = devicePixelRatioF();
    if (const auto at = hover()) {
        const int s = view_.skinXAt(qRound(at->x() * ratio)), t = view_.skinYAt(qRound(at->y() * ratio));
        if (s >= 0 && t >= 0 && s < skin->width && t < skin->height) return {s, t};
    }
    return {std::clamp(view_.skinXAt(0), 0, skin->width - 1), std::clamp(view_.skinYAt(0), 0, skin->height - 1)};
}

void SkinViewWidget::drawSelection(QPainter& painter) const {
    // The outline of the selected texels, or of the floating ones where they lie now.
    std::vector<SelectionEdge> edges;
    int dx = 0, dy = 0;
    if (floating_ != nullptr && floating_->active()) {
        SkinSelection patch;
        const SkinPatch& p = floating_->patch();
        patch.combine(p.opaque, p.width, p.height, SelectCombine::Replace);
        edges = patch.outline();
        dx = floating_->x();
        dy = floating_->y();
    } else {
        edges = context_.paint.selection.outline();
    }
    const qreal ratio = devicePixelRatioF();
    painter.save();
    painter.scale(1.0 / ratio, 1.0 / ratio);
    QPainterPath path;
    for (const SelectionEdge& e : edges) {
        path.moveTo(edgeX(e.x0 + dx) + 0.5, edgeY(e.y0 + dy) + 0.5);
        path.lineTo(edgeX(e.x1 + dx) + 0.5, edgeY(e.y1 + dy) + 0.5);
    }
    if (selectTool_ != nullptr && !selectTool_->shapeInProgress().empty()) {
        const auto& points = selectTool_->shapeInProgress();
        const float zoom = view_.zoom();
        const auto at = [&](const std::pair<float, float>& p) {
            return QPointF(float(view_.viewWidth() / 2) + (p.first - view_.panX()) * zoom,
                           float(view_.viewHeight() / 2) + (p.second - view_.panY()) * zoom);
        };
        path.moveTo(at(points.front()));
        for (const auto& p : points) path.lineTo(at(p));
        path.closeSubpath();
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 1.0));
    painter.drawPath(path);
    QPen dashes(Qt::black, 1.0);
    dashes.setDashPattern({qreal(kDash), qreal(kDash)});
    dashes.setDashOffset(antsPhase_);
    painter.setPen(dashes);
    painter.drawPath(path);
    painter.restore();
}

}  // namespace tarn
