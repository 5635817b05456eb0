#pragma once
// Drives the animation preview in the window: a timer moves the application's
// FramePlayer on by the time that really passed, redraws the 3D pane and
// keeps the Frames list on the Frame shown. Everything else (painting,
// mapping, the camera) goes on between the ticks.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

namespace tarn {

class Application;

class AnimationPreview : public QObject {
    Q_OBJECT
public:
    // `shown` is called after every tick that changed the 3D pane.
    AnimationPreview(Application& app, std::function<void()> shown, QObject* parent = nullptr);

    // Starts or stops the timer as the player says, at its rate.
    void sync();
    bool running() const { return timer_.isActive(); }

private:
    void tick();

    Application& app_;
    std::function<void()> shown_;
    QTimer timer_;
    QElapsedTimer clock_;
};

}  // namespace tarn
