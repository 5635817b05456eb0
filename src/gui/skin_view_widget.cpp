#include "skin_view_widget.h"

#include <QPaintEvent>
#include <QPainter>

#include "image/skin.h"

namespace tarn {

SkinViewWidget::SkinViewWidget(PaneContext context, QWidget* parent)
    : PaneWidget(view_, parent), context_(context), view_(std::move(context)), rectangleTool_(view_, context_.refresh) {
    setObjectName(QStringLiteral("Skin Box"));
    // A click takes the keys from the lists, so the arrows reach Mapping Mode.
    setFocusPolicy(Qt::ClickFocus);
    view_.setRectangleTool(&rectangleTool_);
    setMouseTracking(true);
    updateShape();
}

void SkinViewWidget::redraw(int kind) {
    view_.redraw(kind);
    show();
}

void SkinViewWidget::wheelZoom(int delta) {
    view_.wheel(delta);
    show();
}

void SkinViewWidget::fitSkin() {
    fitPending_ = !isVisible() || width() <= 0 || height() <= 0;
    view_.fit();
    show();
}

void SkinViewWidget::show() {
    const Skin* skin = context_.currentSkin ? context_.currentSkin() : nullptr;
    const QRect changed = blit_.update(view_.image().data(), view_.viewWidth(), view_.clientWidth(),
                                       view_.viewHeight(), skin != nullptr ? skin->palette : greyPalette(), tint());
    if (!changed.isEmpty()) repaint(blit_.widgetArea(changed));
}

const std::uint8_t* SkinViewWidget::tint() const { return view_.tint().empty() ? nullptr : view_.tint().data(); }

void SkinViewWidget::paintEvent(QPaintEvent* event) {
    // An expose may come before any redraw was shown: bring the copy up to date first.
    const Skin* skin = context_.currentSkin ? context_.currentSkin() : nullptr;
    blit_.update(view_.image().data(), view_.viewWidth(), view_.clientWidth(), view_.viewHeight(),
                 skin != nullptr ? skin->palette : greyPalette(), tint());
    QPainter painter(this);
    blit_.draw(painter, event->rect());
}

// Drawn at device pixels, as the 3D pane is: on a scaled screen every texel
// then covers whole device pixels at every zoom.
void SkinViewWidget::resizeEvent(QResizeEvent*) { followScale(); }

void SkinViewWidget::followScale() {
    const qreal ratio = devicePixelRatioF();
    blit_.setRatio(ratio);
    pointer_.setScale(ratio);
    view_.resize(qRound(width() * ratio), qRound(height() * ratio));
    if (fitPending_ && isVisible()) fitSkin();
}

}  // namespace tarn
