#pragma once
// The status bar: what is under the pointer in the skin pane (skin pixel,
// palette index, colour) or the 3D pane (Triangle and texel), the pane's zoom,
// and a one-line hint of what the mouse does there in the present modes. It
// watches the panes' mouse moves; the panes themselves know nothing of it.
#include <QObject>

class QLabel;
class QMainWindow;
class QPoint;

namespace tarn {

class Application;
class ShellWidget;

class StatusLine : public QObject {
    Q_OBJECT
public:
    StatusLine(Application& app, ShellWidget& shell, QMainWindow& window);

    // Shows the pane last under the pointer again (after a mode or view change).
    void update();
    QLabel* pointerLabel() const { return pointer_; }
    QLabel* zoomLabel() const { return zoom_; }
    QLabel* hintLabel() const { return hint_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPoint paneAt(QObject* pane, QPointF widgetAt) const;
    void showSkin(const QPoint* at);
    void showModel(const QPoint* at);
    // Shows `text` as the hint, cut to the label's width with "…".
    void setHint(const std::string& text);

    Application& app_;
    ShellWidget& shell_;
    QLabel* pointer_ = nullptr;
    QLabel* zoom_ = nullptr;
    QLabel* hint_ = nullptr;
    QObject* lastPane_ = nullptr;
    QString hintText_;
};

}  // namespace tarn
