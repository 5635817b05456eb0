#include "sample_robot.h"

#include <cmath>
#include <numbers>
#include <string>

#include "sample_skins.h"

namespace tarn::cli::sample {

namespace {

enum Bone : int {
    kRoot, kTorso, kHead, kAntenna,
    kShoulderL, kElbowL, kHandL, kPadL,
    kShoulderR, kElbowR, kHandR, kPadR,
    kHipL, kKneeL, kFootL, kHipR, kKneeR, kFootR,
    kBoneCount,
};

enum Side : std::size_t { kLeft = 0, kRight = 1 };

// Joint angles in radians. Limbs hang along -z; a positive swing moves them
// forward (+x), a positive bend folds elbows forward and knees back.
struct Pose {
    float bob = 0, lean = 0, twist = 0, hipYaw = 0;
    float headYaw = 0, headPitch = 0, antenna = 0;
    std::array<float, 2> armSwing{}, armOut{}, elbow{}, legSwing{}, knee{}, foot{};
};

// Body measurements in model units; the feet stand at about z = -24.
constexpr float kTorsoBase = 3.0f;
constexpr float kTorsoHeight = 17.0f;
constexpr float kShoulderWidth = 11.5f;
constexpr float kShoulderHeight = 13.5f;
constexpr float kUpperArm = 9.0f;
constexpr float kForearm = 9.5f;
constexpr float kHipWidth = 4.5f;
constexpr float kHipHeight = -2.0f;
constexpr float kThigh = 10.0f;
constexpr float kShin = 10.5f;

std::vector<Xf> skeleton(const Pose& p) {
    std::vector<Xf> b(kBoneCount);
    b[kRoot] = translate(0, 0, p.bob) * rotateZ(p.hipYaw);
    b[kTorso] = b[kRoot] * translate(0, 0, kTorsoBase) * rotateY(p.lean) * rotateZ(p.twist);
    b[kHead] = b[kTorso] * translate(0, 0, kTorsoHeight) * rotateZ(p.headYaw) * rotateY(p.headPitch);
    b[kAntenna] = b[kHead] * translate(0, 3.0f, 9.0f) * rotateX(p.antenna);
    for (Side s : {kLeft, kRight}) {
        const float y = s == kLeft ? 1.0f : -1.0f;
        const int shoulder = s == kLeft ? kShoulderL : kShoulderR;
        b[static_cast<std::size_t>(shoulder)] = b[kTorso] * translate(0, y * kShoulderWidth, kShoulderHeight) *
                                                rotateX(y * p.armOut[s]) * rotateY(-p.armSwing[s]);
        b[static_cast<std::size_t>(shoulder + 1)] =
            b[static_cast<std::size_t>(shoulder)] * translate(0, 0, -kUpperArm) * rotateY(-p.elbow[s]);
        b[static_cast<std::size_t>(shoulder + 2)] = b[static_cast<std::size_t>(shoulder + 1)] * translate(0, 0, -kForearm);
        b[static_cast<std::size_t>(shoulder + 3)] =
            b[kTorso] * translate(0, y * kShoulderWidth, kShoulderHeight + 1.0f) * rotateX(y * 0.35f * p.armOut[s]);
        const int hip = s == kLeft ? kHipL : kHipR;
        b[static_cast<std::size_t>(hip)] = b[kRoot] * translate(0, y * kHipWidth, kHipHeight) * rotateY(-p.legSwing[s]);
        b[static_cast<std::size_t>(hip + 1)] = b[static_cast<std::size_t>(hip)] * translate(0, 0, -kThigh) * rotateY(p.knee[s]);
        b[static_cast<std::size_t>(hip + 2)] = b[static_cast<std::size_t>(hip + 1)] * translate(0, 0, -kShin) * rotateY(-p.foot[s]);
    }
    return b;
}

// The right arm holds the blaster forward in every pose.
void holdBlaster(Pose& p, float sway) {
    p.armSwing[kRight] = 0.35f + sway;
    p.armOut[kRight] = 0.12f;
    p.elbow[kRight] = 1.25f;
}

struct AnimFrame {
    std::string name;
    Pose pose;
};

std::string numbered(const char* base, int i) {
    return base + std::string(i < 9 ? "0" : "") + std::to_string(i + 1);
}

std::vector<AnimFrame> animation() {
    const float turn = 2.0f * std::numbers::pi_v<float>;
    std::vector<AnimFrame> frames;
    constexpr int kStand = 10, kRun = 12, kWave = 8;
    for (int i = 0; i < kStand; ++i) {
        const float t = turn * static_cast<float>(i) / kStand;
        Pose p;
        p.bob = 0.4f * std::sin(t);
        p.antenna = 0.15f * std::sin(t);
        p.headYaw = 0.15f * std::sin(t);
        p.armOut[kLeft] = 0.12f;
        p.armSwing[kLeft] = 0.06f * std::sin(t);
        p.elbow[kLeft] = 0.25f;
        p.knee = {0.05f, 0.05f};
        holdBlaster(p, 0.03f * std::sin(t));
        frames.push_back({numbered("stand", i), p});
    }
    for (int i = 0; i < kRun; ++i) {
        const float t = turn * static_cast<float>(i) / kRun;
        Pose p;
        p.bob = 0.7f * std::cos(2.0f * t) - 0.4f;
        p.lean = 0.12f;
        p.twist = 0.1f * std::sin(t);
        p.hipYaw = -0.06f * std::sin(t);
        p.headYaw = -0.08f * std::sin(t);
        p.antenna = 0.25f * std::sin(2.0f * t);
        for (Side s : {kLeft, kRight}) {
            const float phase = s == kLeft ? t : t + std::numbers::pi_v<float>;
            p.legSwing[s] = 0.6f * std::sin(phase);
            p.knee[s] = 0.2f + 0.65f * std::max(0.0f, std::cos(phase));
            p.foot[s] = 0.7f * (p.knee[s] - p.legSwing[s]);
        }
        p.armOut[kLeft] = 0.15f;
        p.armSwing[kLeft] = -0.5f * std::sin(t);
        p.elbow[kLeft] = 0.5f + 0.2f * std::sin(t);
        holdBlaster(p, 0.05f * std::sin(2.0f * t));
        frames.push_back({numbered("run", i), p});
    }
    for (int i = 0; i < kWave; ++i) {
        const float t = turn * static_cast<float>(i) / kWave;
        Pose p;
        p.bob = 0.2f * std::sin(t);
        p.headYaw = 0.25f;
        p.headPitch = -0.1f;
        p.antenna = 0.2f * std::sin(t);
        p.armSwing[kLeft] = 0.3f;
        p.armOut[kLeft] = 2.4f;
        p.elbow[kLeft] = 0.5f + 0.35f * std::sin(t);
        p.knee = {0.05f, 0.05f};
        holdBlaster(p, 0.0f);
        frames.push_back({numbered("wave", i), p});
    }
    return frames;
}

SampleModel finish(ModelBuilder& builder, int handBone) {
    SampleModel model;
    if (!builder.packIslands()) return model;
    model.skinWidth = builder.skinWidth();
    model.skinHeight = builder.skinHeight();
    model.skinCoords = builder.skinCoords();
    model.triangles = builder.triangles();
    model.skinPixels = builder.paintSkin();
    for (const AnimFrame& f : animation()) {
        std::vector<Xf> bones = skeleton(f.pose);
        if (handBone >= 0) bones = {bones[static_cast<std::size_t>(handBone)]};
        model.frameNames.push_back(f.name);
        model.frames.push_back(builder.pose(bones));
    }
    return model;
}

LatheShape lathe(std::vector<Ring> rings, int segments, float scaleX = 1.0f, float scaleY = 1.0f,
                float offsetX = 0.0f) {
    LatheShape shape;
    shape.rings = std::move(rings);
    shape.segments = segments;
    shape.scaleX = scaleX;
    shape.scaleY = scaleY;
    shape.offsetX = offsetX;
    return shape;
}

}  // namespace

SampleModel buildRobot() {
    ModelBuilder b(kRobotSkinWidth, kRobotSkinHeight);
    const int torso = b.addIsland(160, 72, paintTorso());
    const int head = b.addIsland(120, 52, paintHead());
    const int pelvis = b.addIsland(88, 28, paintPelvis());
    const int upper = b.addIsland(52, 40, paintUpperLimb());
    const int forearm = b.addIsland(52, 44, paintForearm());
    const int thigh = b.addIsland(60, 44, paintUpperLimb());
    const int shin = b.addIsland(60, 52, paintShin());
    const int pad = b.addIsland(60, 32, paintPad());
    const int hand = b.addIsland(32, 20, paintHand());
    const int foot = b.addIsland(48, 16, paintFoot());
    const int antenna = b.addIsland(20, 24, paintAntenna());
    const int torsoTop = b.addIsland(36, 36, paintTorsoTop());
    const int headTop = b.addIsland(40, 40, paintHeadTop());
    const int joint = b.addIsland(24, 24, paintJointCap());
    const int sole = b.addIsland(28, 28, paintSole());

    b.addLathe(lathe({{kTorsoHeight, 6.5f}, {16.0f, 8.5f}, {12.0f, 10.0f}, {6.0f, 9.0f}, {1.5f, 7.0f}, {0.0f, 6.0f}}, 12,
                     0.72f),
               {torso, torsoTop, joint}, kTorso);
    b.addLathe(lathe({{9.5f, 3.0f}, {9.0f, 5.0f}, {6.0f, 6.0f}, {2.0f, 5.5f}, {0.5f, 4.0f}}, 10, 0.95f),
               {head, headTop, joint}, kHead);
    b.addLathe(lathe({{5.5f, 0.2f}, {5.0f, 0.9f}, {4.3f, 0.9f}, {3.8f, 0.3f}, {0.0f, 0.3f}}, 5),
               {antenna, joint, -1}, kAntenna);
    b.addLathe(lathe({{3.0f, 6.5f}, {0.0f, 7.5f}, {-3.5f, 6.0f}}, 10, 0.75f), {pelvis, joint, joint}, kRoot);
    for (int s = 0; s < 2; ++s) {
        const int shoulder = s == 0 ? kShoulderL : kShoulderR;
        const int hip = s == 0 ? kHipL : kHipR;
        b.addLathe(lathe({{0.5f, 2.6f}, {-4.5f, 2.4f}, {-kUpperArm, 2.0f}}, 7), {upper, joint, joint}, shoulder);
        b.addLathe(lathe({{0.0f, 2.2f}, {-4.0f, 3.0f}, {-kForearm, 2.6f}}, 7), {forearm, joint, joint}, shoulder + 1);
        b.addLathe(lathe({{0.0f, 2.2f}, {-2.5f, 2.6f}, {-4.5f, 1.8f}}, 5, 0.8f), {hand, joint, joint}, shoulder + 2);
        b.addLathe(lathe({{2.0f, 3.5f}, {0.0f, 4.8f}, {-2.0f, 4.5f}}, 8, 0.9f), {pad, joint, -1}, shoulder + 3);
        b.addLathe(lathe({{0.5f, 3.2f}, {-5.0f, 3.0f}, {-kThigh, 2.4f}}, 7), {thigh, joint, joint}, hip);
        b.addLathe(lathe({{0.0f, 2.6f}, {-5.0f, 3.4f}, {-kShin, 2.6f}}, 7), {shin, joint, joint}, hip + 1);
        b.addLathe(lathe({{0.0f, 2.4f}, {-3.5f, 2.8f}}, 6, 1.9f, 1.0f, 2.0f), {foot, joint, sole}, hip + 2);
    }
    return finish(b, -1);
}

SampleModel buildBlaster() {
    ModelBuilder b(kBlasterSkinWidth, kBlasterSkinHeight);
    const int body = b.addIsland(72, 28, paintGunBody());
    const int barrel = b.addIsland(40, 12, paintBarrel());
    const int muzzle = b.addIsland(32, 10, paintMuzzle());
    const int cell = b.addIsland(40, 14, paintCell());
    const int cap = b.addIsland(20, 20, paintGunCap());
    const int bore = b.addIsland(16, 16, paintBore());

    // In the space of the right hand: the forearm runs along -z, and the
    // blaster lies under the fist pointing the same way.
    b.addLathe(lathe({{2.0f, 1.6f}, {1.5f, 2.2f}, {-6.0f, 2.2f}, {-7.0f, 1.6f}}, 6, 1.3f, 1.0f, -3.2f),
               {body, cap, cap}, 0);
    b.addLathe(lathe({{-7.0f, 0.9f}, {-13.0f, 0.9f}}, 8, 1.0f, 1.0f, -2.6f), {barrel, cap, bore}, 0);
    b.addLathe(lathe({{-11.5f, 1.4f}, {-13.5f, 1.4f}}, 8, 1.0f, 1.0f, -2.6f), {muzzle, cap, bore}, 0);
    b.addLathe(lathe({{-1.0f, 1.0f}, {-5.0f, 1.0f}}, 8, 1.0f, 1.0f, -5.8f), {cell, cap, cap}, 0);
    return finish(b, kHandR);
}

}  // namespace tarn::cli::sample
