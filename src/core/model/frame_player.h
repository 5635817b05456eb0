#pragma once
// The animation preview: which Frame to show as time passes, looping over the
// whole model or over the animation the starting Frame belongs to. Frames form
// an animation by their names without the trailing number ("run1" .. "run6"
// are "run"), as the game's own tools name them. Only the preview moves; the
// Mesh and its Frames are never changed here.
#include <string>
#include <vector>

#include "model/vec3.h"

namespace tarn {

// The game steps its models at 10 frames per second.
inline constexpr double kGameFrameRate = 10.0;
inline constexpr double kMinFrameRate = 0.5;
inline constexpr double kMaxFrameRate = 60.0;

// The animation name of a Frame name: without its trailing digits ("run12" ->
// "run", "pain101" -> "pain"); a name that is all digits keeps them.
std::string animationName(const std::string& frameName);

struct FrameSpan {
    int first = 0;
    int count = 0;
};

// The run of neighbouring Frames around `frame` that share its animation name.
FrameSpan animationSpan(const std::vector<std::string>& frameNames, int frame);

// Where the preview stands: `frame` shown, blending `fraction` of the way to `next`.
struct PlayPosition {
    int frame = 0;
    int next = 0;
    float fraction = 0.0f;
};

class FramePlayer {
public:
    enum class Loop { WholeModel, Animation };

    double rate() const { return rate_; }
    // Frames per second, kept within [kMinFrameRate, kMaxFrameRate].
    void setRate(double framesPerSecond);
    Loop loop = Loop::WholeModel;

    bool playing() const { return playing_; }
    // Starts at `frame` of the model with these Frame names.
    void start(const std::vector<std::string>& frameNames, int frame);
    void stop() { playing_ = false; }
    // The position `seconds` after the previous step (or the start).
    PlayPosition advance(double seconds);
    const FrameSpan& span() const { return span_; }

private:
    PlayPosition position() const;

    double rate_ = kGameFrameRate;
    bool playing_ = false;
    FrameSpan span_;
    double phase_ = 0.0;  // Frames since the span's first, below span_.count
};

// The positions `fraction` of the way from `a` to `b`, per vertex, into `out`
// (sized to the shorter of the two).
void blendPositions(const std::vector<Vec3f>& a, const std::vector<Vec3f>& b, float fraction,
                    std::vector<Vec3f>& out);

}  // namespace tarn
