#include "model/frame_player.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace tarn {

std::string animationName(const std::string& frameName) {
    std::size_t end = frameName.size();
    while (end > 0 && std::isdigit(static_cast<unsigned char>(frameName[end - 1]))) --end;
    return end == 0 ? frameName : frameName.substr(0, end);
}

FrameSpan animationSpan(const std::vector<std::string>& frameNames, int frame) {
    const int count = static_cast<int>(frameNames.size());
    if (frame < 0 || frame >= count) return {};
    const std::string name = animationName(frameNames[std::size_t(frame)]);
    auto same = [&](int i) { return animationName(frameNames[std::size_t(i)]) == name; };
    int first = frame;
    while (first > 0 && same(first - 1)) --first;
    int last = frame;
    while (last + 1 < count && same(last + 1)) ++last;
    return {first, last - first + 1};
}

void FramePlayer::setRate(double framesPerSecond) {
    rate_ = std::isfinite(framesPerSecond) ? std::clamp(framesPerSecond, kMinFrameRate, kMaxFrameRate)
                                           : kGameFrameRate;
}

void FramePlayer::start(const std::vector<std::string>& frameNames, int frame) {
    const int count = static_cast<int>(frameNames.size());
    if (frame < 0 || frame >= count) {
        playing_ = false;
        return;
    }
    span_ = loop == Loop::Animation ? animationSpan(frameNames, frame) : FrameSpan{0, count};
    phase_ = frame - span_.first;
    playing_ = true;
}

PlayPosition FramePlayer::advance(double seconds) {
    if (playing_ && span_.count > 0 && std::isfinite(seconds) && seconds > 0.0)
        phase_ = std::fmod(phase_ + seconds * rate_, static_cast<double>(span_.count));
    return position();
}

PlayPosition FramePlayer::position() const {
    if (span_.count <= 0) return {};
    const int step = std::clamp(static_cast<int>(phase_), 0, span_.count - 1);
    PlayPosition p;
    p.frame = span_.first + step;
    p.next = span_.first + (step + 1) % span_.count;
    p.fraction = static_cast<float>(phase_ - step);
    return p;
}

void blendPositions(const std::vector<Vec3f>& a, const std::vector<Vec3f>& b, float fraction,
                    std::vector<Vec3f>& out) {
    const std::size_t n = std::min(a.size(), b.size());
    out.resize(n);
    for (std::size_t i = 0; i < n; ++i) out[i] = a[i] + (b[i] - a[i]) * fraction;
}

}  // namespace tarn
