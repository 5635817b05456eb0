#include "animation_preview.h"

#include <algorithm>

#include "app/application.h"

namespace tarn {

namespace {

constexpr double kMillisecondsPerSecond = 1000.0;
// In-between frames are drawn about as often as a screen refreshes.
constexpr int kBlendTickMs = 16;
// Whole frames are looked at several times per frame, so each one shows
// within a fraction of its time; ticks that change nothing draw nothing.
constexpr double kTicksPerFrame = 4.0;

}  // namespace

AnimationPreview::AnimationPreview(Application& app, std::function<void()> shown, QObject* parent)
    : QObject(parent), app_(app), shown_(std::move(shown)) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &AnimationPreview::tick);
}

void AnimationPreview::sync() {
    if (!app_.player.playing()) {
        timer_.stop();
        return;
    }
    const int interval = app_.interpolateFrames
                             ? kBlendTickMs
                             : std::max(1, static_cast<int>(kMillisecondsPerSecond / (app_.player.rate() * kTicksPerFrame)));
    if (!timer_.isActive()) clock_.start();
    if (!timer_.isActive() || timer_.interval() != interval) timer_.start(interval);
}

void AnimationPreview::tick() {
    const double seconds = static_cast<double>(clock_.restart()) / kMillisecondsPerSecond;
    if (app_.advancePlayback(seconds)) shown_();
    if (!app_.player.playing()) timer_.stop();
}

}  // namespace tarn
