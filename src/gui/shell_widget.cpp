#include "shell_widget.h"

#include <QTimer>
#include <QWheelEvent>

#include "app/application.h"
#include "edit/mapping_tool.h"
#include "edit/select_tool.h"
#include "gradient_box_widget.h"
#include "iso_view_widget.h"
#include "pal_box_widget.h"
#include "skin_view_widget.h"

namespace tarn {

ShellWidget::ShellWidget(Application& app, RefreshSink& refresh, QWidget* parent)
    : QWidget(parent), app_(app), refresh_(refresh) {
    setObjectName(QStringLiteral("Shell"));
    layout_.bindSplitterFraction(app.splitterFraction);
    layout_.palOnTop = app.settings().getInt(kPreferences, "Pal On Top", 0) != 0;
    rects_ = layout_.layout(width(), height());

    PaneContext context{app.mesh,
                        app.paint,
                        app.paneModes,
                        refresh,
                        [&app] { return app.skins.current(); },
                        [&app] { return app.modes.currentIndex(); },
                        &app.history,
                        &app.symmetry};
    isoView_ = new IsoViewWidget(app, context, this);
    skinView_ = new SkinViewWidget(context, this);
    mappingTool_ =
        std::make_unique<MappingTool>(skinView_->view(), context, app.view.skinFollowsMapping);
    skinView_->view().setMappingTool(mappingTool_.get());
    skinView_->rectangleTool().passClicksTo(mappingTool_.get());
    selectTool_ = std::make_unique<TexelSelectTool>(skinView_->view(), context, app.floating);
    skinView_->view().setSelectTool(selectTool_.get());
    skinView_->showSelection(&app.floating, selectTool_.get());
    palBox_ = new PalBoxWidget(
        app.paint, refresh,
        [&app]() -> const Palette* {
            const Skin* skin = app.skins.current();
            return skin != nullptr ? &skin->palette : nullptr;
        },
        this);
    gradientBox_ = new GradientBoxWidget(app.paint, refresh, layout_, *this, *this,
                                         [&app] { return app.modes.currentIndex(); }, this);
    for (QWidget* pane : {static_cast<QWidget*>(isoView_), static_cast<QWidget*>(skinView_),
                          static_cast<QWidget*>(palBox_), static_cast<QWidget*>(gradientBox_)})
        pane->installEventFilter(this);
    placePanes();
    QTimer::singleShot(0, this, [this] { this->refresh(kRedrawFull, kPanesAll); });
}

// The panes refer to the layout and to this shell: they go first.
ShellWidget::~ShellWidget() {
    delete gradientBox_;
    delete palBox_;
    delete skinView_;
    delete isoView_;
}

void ShellWidget::placePanes() {
    rects_ = layout_.layout(width(), height());
    const auto place = [](QWidget* w, const PaneRect& r) { w->setGeometry(r.left, r.top, r.width(), r.height()); };
    place(skinView_, rects_.skinView);
    place(isoView_, rects_.isoView);
    place(palBox_, rects_.palette);
    place(gradientBox_, rects_.gradient);
}

void ShellWidget::refresh(int kind, int panes) {
    // The application may have changed the splitter or the window its size
    // since the last layout (start-up reads "Splitter" after the window shows).
    if (layout_.layout(width(), height()) != rects_) placePanes();
    if (panes & kPaneSkinView) skinView_->redraw(kind);
    if (panes & kPaneGradient) gradientBox_->redraw();
    if (panes & kPaneIsoView) isoView_->redraw();
    if (panes & kPanePalette) palBox_->redraw();
}

void ShellWidget::barAdjust(int what) {
    if (what == 0) {
        startSplitterDrag();
        return;
    }
    relayout();
}

void ShellWidget::relayout() {
    placePanes();
    skinView_->redraw(kRedrawFull);
    isoView_->redraw();
    gradientBox_->redraw();
}

void ShellWidget::swapDisplays() {
    layout_.swapDisplays = !layout_.swapDisplays;
    relayout();
    refresh_.refresh(kRedrawFull, kPanesSkinIso);
}

void ShellWidget::setPalOnTop(bool onTop) {
    layout_.palOnTop = onTop;
    relayout();
}

void ShellWidget::startSplitterDrag() {
    splitterDragging_ = true;
    gradientBox_->setCursor(Qt::BlankCursor);
    gradientBox_->repaint();
}

void ShellWidget::splitterMove(int x) {
    if (!splitterDragging_) return;
    layout_.setSplitterFraction(ShellLayout::splitterFractionAt(x, width()));
    placePanes();
    skinView_->redraw(kRedrawQuick);
    isoView_->redraw();
    gradientBox_->redraw();
}

void ShellWidget::splitterEnd() {
    if (!splitterDragging_) return;
    splitterDragging_ = false;
    gradientBox_->box().endSplitterLook();
    refresh(kRedrawFull, kPanesDisplaysGradient);
    gradientBox_->unsetCursor();
}

void ShellWidget::resizeEvent(QResizeEvent*) {
    for (QWidget* pane : {static_cast<QWidget*>(isoView_), static_cast<QWidget*>(skinView_),
                          static_cast<QWidget*>(palBox_), static_cast<QWidget*>(gradientBox_)})
        pane->installEventFilter(this);
    placePanes();
    QTimer::singleShot(0, this, [this] { this->refresh(kRedrawFull, kPanesAll); });
}

void ShellWidget::routeWheel(QPoint shellPos, int delta, bool ctrl) {
    const PaneId target = layout_.wheelTarget(rects_, shellPos.x(), shellPos.y());
    delta = wheelNotches_.take(target, delta);
    if (delta == 0) return;
    switch (target) {
    case PaneId::PalBox:
        palBox_->wheel(delta);
        break;
    case PaneId::SkinView:
        skinView_->wheelZoom(delta, skinView_->mapFrom(this, shellPos));
        emit wheeled(skinView_, skinView_->mapFrom(this, shellPos));
        break;
    case PaneId::IsoView:
        if (ctrl)
            isoView_->wheelTowards(delta, isoView_->mapFrom(this, shellPos));
        else
            isoView_->wheelRotate(delta);
        emit wheeled(isoView_, isoView_->mapFrom(this, shellPos));
        break;
    default:
        break;
    }
}

void ShellWidget::wheelEvent(QWheelEvent* event) {
    routeWheel(event->position().toPoint(), static_cast<std::int16_t>(event->angleDelta().y()),
               event->modifiers() & Qt::ControlModifier);
    event->accept();
}

// The wheel over any pane comes to the shell, which hands it to the pane under
// the pointer by the layout's rule.
bool ShellWidget::eventFilter(QObject* watched, QEvent* event) {
    // Floating texels are put down before a stroke on the model could paint under them.
    if (event->type() == QEvent::MouseButtonPress && watched == isoView_) app_.dropFloating();
    if (event->type() != QEvent::Wheel) return QWidget::eventFilter(watched, event);
    auto* pane = static_cast<QWidget*>(watched);
    auto* wheel = static_cast<QWheelEvent*>(event);
    routeWheel(pane->mapTo(this, wheel->position().toPoint()), static_cast<std::int16_t>(wheel->angleDelta().y()),
               wheel->modifiers() & Qt::ControlModifier);
    wheel->accept();
    return true;
}

}  // namespace tarn
