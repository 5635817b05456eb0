#include "status_line.h"

#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QStatusBar>

#include <algorithm>

#include "app/application.h"
#include "app/status_text.h"
#include "iso_view_widget.h"
#include "shell_widget.h"
#include "skin_view_widget.h"

namespace tarn {

namespace {

QLabel* addLabel(QStatusBar* bar, const char* name, int stretch) {
    auto* label = new QLabel(bar);
    label->setObjectName(QString::fromUtf8(name));
    bar->addWidget(label, stretch);
    return label;
}

}  // namespace

StatusLine::StatusLine(Application& app, ShellWidget& shell, QMainWindow& window)
    : QObject(&window), app_(app), shell_(shell) {
    QStatusBar* bar = window.statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    pointer_ = addLabel(bar, "statusPointer", 0);
    zoom_ = addLabel(bar, "statusZoom", 0);
    hint_ = addLabel(bar, "statusHint", 1);
    // The hint gives way first on a narrow window, ending in "…" rather than
    // pushing the pointer and zoom fields off or cutting a word.
    hint_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    hint_->setMinimumWidth(0);
    hint_->installEventFilter(this);
    pointer_->setMinimumWidth(pointer_->fontMetrics().horizontalAdvance(QStringLiteral("Skin 0000, 0000   Index 000   RGB 000, 000, 000")));
    shell.skinView()->installEventFilter(this);
    shell.isoView()->installEventFilter(this);
    lastPane_ = shell.skinView();
    // A wheel zoom or turn shows its result where the pointer is.
    connect(&shell, &ShellWidget::wheeled, this, [this](QWidget* pane, QPoint widgetAt) {
        lastPane_ = pane;
        const QPoint at = paneAt(pane, widgetAt);
        if (pane == shell_.skinView())
            showSkin(&at);
        else
            showModel(&at);
    });
    update();
}

// The panes take positions in their own (device) pixels.
QPoint StatusLine::paneAt(QObject* pane, QPointF widgetAt) const {
    const qreal scale = pane == shell_.isoView()    ? shell_.isoView()->pointer().scale()
                        : pane == shell_.skinView() ? shell_.skinView()->pointer().scale()
                                                    : 1.0;
    return (widgetAt * scale).toPoint();
}

void StatusLine::setHint(const std::string& text) {
    hintText_ = QString::fromStdString(text);
    hint_->setToolTip(hintText_);
    hint_->setText(hint_->fontMetrics().elidedText(hintText_, Qt::ElideRight, std::max(hint_->width(), 0)));
}

bool StatusLine::eventFilter(QObject* watched, QEvent* event) {
    if (watched == hint_) {
        if (event->type() == QEvent::Resize)
            hint_->setText(hint_->fontMetrics().elidedText(hintText_, Qt::ElideRight, hint_->width()));
        return QObject::eventFilter(watched, event);
    }
    // Shown before the pane takes the event: the release shows what the
    // drag's last move did (a rectangle drawn, say).
    const bool pointed = event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonRelease;
    if (pointed || event->type() == QEvent::Leave) {
        lastPane_ = watched;
        const QPoint at = pointed ? paneAt(watched, static_cast<QMouseEvent*>(event)->position()) : QPoint();
        const QPoint* where = pointed ? &at : nullptr;
        if (watched == shell_.skinView())
            showSkin(where);
        else
            showModel(where);
    }
    return QObject::eventFilter(watched, event);
}

void StatusLine::update() {
    if (lastPane_ == shell_.isoView())
        showModel(nullptr);
    else
        showSkin(nullptr);
}

void StatusLine::showSkin(const QPoint* at) {
    const SkinView& view = shell_.skinView()->view();
    const Skin* skin = app_.skins.current();
    if (at) {
        const std::int32_t source = view.sourceAt(at->x(), at->y());
        const bool over = skin && source >= 0 && skin->width > 0;
        pointer_->setText(QString::fromStdString(
            over ? skinPointerText(skin, source % skin->width, source / skin->width) : std::string()));
    } else {
        pointer_->clear();
    }
    zoom_->setText(QString::fromStdString(skinZoomText(view.zoom())));
    std::string hint = mouseHint(StatusPane::Skin, app_.paneModes, view.rectangleMode);
    if (view.rectangleMode) hint = mapRectText(view.mapRect) + "   " + hint;
    setHint(hint);
}

void StatusLine::showModel(const QPoint* at) {
    IsoView& view = shell_.isoView()->view();
    const RenderTarget& target = view.target();
    if (at && app_.mesh.hasCurrentFrame()) {
        const std::vector<Vec3f>* blended = app_.previewPositions();
        const std::vector<Vec3f>& positions =
            blended ? *blended : app_.mesh.frames[std::size_t(app_.mesh.currentFrame)].positions;
        const ModelHit hit = probeModel(app_.mesh, positions.data(), static_cast<int>(positions.size()), target,
                                        at->x(), target.height - 1 - at->y());
        pointer_->setText(QString::fromStdString(modelPointerText(hit)));
    } else {
        pointer_->clear();
    }
    zoom_->setText(QString::fromStdString(modelViewText(target)));
    setHint(mouseHint(StatusPane::Model, app_.paneModes, false));
}

}  // namespace tarn
