#include "sample_skins.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "sample_paint.h"

namespace tarn::cli::sample {

namespace {

std::uint8_t armour(int x, int y, int shade) { return colorIndex(kOrange, shade + grain(x, y, 1)); }
std::uint8_t steel(int x, int y, int shade) { return colorIndex(kSteel, shade + grain(x, y, 2)); }
std::uint8_t dark(int shade) { return colorIndex(kGrey, shade); }

// Distance of a pixel from an island point, in pixels.
float distance(int x, int y, float cx, float cy) {
    const float dx = static_cast<float>(x) - cx;
    const float dy = static_cast<float>(y) - cy;
    return std::sqrt(dx * dx + dy * dy);
}

// Edge darkening where a part meets its neighbours.
int endShade(float v) { return v < 0.08f || v > 0.92f ? -2 : 0; }

// A glowing lamp: bright centre fading to the ramp's middle.
std::uint8_t lamp(Ramp ramp, float d, float radius) {
    return colorIndex(ramp, kBrightest - static_cast<int>(6.0f * d / radius));
}

// A round cap: rings of `ramp` with a darker rim and bolts.
std::uint8_t roundCap(int x, int y, int w, int h, Ramp ramp, int shade) {
    const float r = distance(x, y, (w - 1) * 0.5f, (h - 1) * 0.5f) / ((w - 1) * 0.5f);
    if (r > 0.86f) return colorIndex(ramp, shade - 3);
    if (r > 0.55f && r < 0.62f) return colorIndex(ramp, shade - 2);
    if (r < 0.2f) return colorIndex(ramp, shade + 2);
    return colorIndex(ramp, shade + grain(x, y, 5));
}

}  // namespace

IslandPainter paintTorso() {
    return [](int x, int y, int w, int h) -> std::uint8_t {
        const float u = fraction(x, w), v = fraction(y, h);
        const float cx = (w - 1) * 0.5f;
        const float core = distance(x, y, cx, h * 0.34f);
        if (core < 6.0f) return lamp(kCyan, core, 6.0f);
        if (core < 8.5f) return core < 7.2f ? steel(x, y, 12) : dark(2);
        if (v > 0.62f && v < 0.70f) return hazard(x, y);
        if (v >= 0.70f) {  // ribbed steel belly
            if (y % 3 == 0) return steel(x, y, 3);
            return steel(x, y, (y / 3) % 2 ? 7 : 9);
        }
        const float side = std::min(u, 1.0f - u);  // 0 at the back
        if (side < 0.1f && v > 0.15f && v < 0.52f) return x % 3 == 0 ? dark(1) : steel(x, y, 6);
        // Chest plate with a dark seam and rivets along it.
        const float px = std::abs(static_cast<float>(x) - cx);
        const bool inPlate = px < 30.0f && v > 0.08f && v < 0.58f;
        const bool seam = inPlate && (px > 28.5f || v < 0.1f || v > 0.56f);
        if (seam) return colorIndex(kBrown, 2);
        if (inPlate && (px > 25.5f && px < 27.0f) && y % 6 == 3) return steel(x, y, 13);
        if (std::abs(u - 0.25f) < 0.004f || std::abs(u - 0.75f) < 0.004f) return colorIndex(kBrown, 3);
        int shade = inPlate ? 11 : 9;
        shade += v < 0.3f ? 1 : 0;
        if (v < 0.05f) shade -= 2;
        return armour(x, y, shade);
    };
}

IslandPainter paintTorsoTop() {
    return [](int x, int y, int w, int h) -> std::uint8_t {
        const float r = distance(x, y, (w - 1) * 0.5f, (h - 1) * 0.5f) / ((w - 1) * 0.5f);
        if (r < 0.38f) return steel(x, y, 5);  // neck socket
        if (r < 0.44f) return dark(2);
        const float angle = std::atan2(static_cast<float>(y) - (h - 1) * 0.5f, static_cast<float>(x) - (w - 1) * 0.5f);
        if (r > 0.6f && r < 0.72f && std::fmod(angle + 7.0f, 0.8f) < 0.12f) return steel(x, y, 13);
        return armour(x, y, r > 0.88f ? 8 : 10);
    };
}

IslandPainter paintHead() {
    return [](int x, int y, int w, int h) -> std::uint8_t {
        const float u = fraction(x, w), v = fraction(y, h);
        const float cx = (w - 1) * 0.5f;
        const float fromFront = std::abs(u - 0.5f);
        // Visor with two eyes.
        if (fromFront < 0.22f && v > 0.32f && v < 0.62f) {
            const float eyeY = h * 0.47f;
            for (float side : {-1.0f, 1.0f}) {
                const float ex = (static_cast<float>(x) - (cx + side * w * 0.085f)) / 4.0f;
                const float ey = (static_cast<float>(y) - eyeY) / 2.6f;
                const float e = std::sqrt(ex * ex + ey * ey);
                if (e < 1.0f) return colorIndex(kCyan, kBrightest - static_cast<int>(5.0f * e));
            }
            if (v < 0.36f) return colorIndex(kNavy, 9);
            return colorIndex(kNavy, 3 + (x % 7 == 0 ? 1 : 0));
        }
        if (fromFront < 0.08f && v > 0.68f && v < 0.86f) return x % 2 ? dark(1) : steel(x, y, 7);  // grille
        for (float ear : {0.25f, 0.75f}) {
            const float d = distance(x, y, ear * (w - 1), h * 0.5f);
            if (d < 5.0f) return d < 2.0f ? steel(x, y, 13) : (d < 3.5f ? steel(x, y, 6) : dark(2));
        }
        if (fromFront < 0.03f && v < 0.3f) return armour(x, y, 11);  // crest stripe
        return steel(x, y, 9 + (v < 0.25f ? 1 : 0) + endShade(v));
    };
}

IslandPainter paintHeadTop() {
    return [](int x, int y, int w, int h) -> std::uint8_t {
        const float r = distance(x, y, (w - 1) * 0.5f, (h - 1) * 0.5f) / ((w - 1) * 0.5f);
        if (std::abs(static_cast<float>(y) - (h - 1) * 0.5f) < 2.0f) return armour(x, y, 11);
        return steel(x, y, r > 0.85f ? 8 : 10);
    };
}

IslandPainter paintPelvis() {
    return [](int x, int y, int w, int h) -> std::uint8_t {
        const float u = fraction(x, w), v = fraction(y, h);
        if (v < 0.25f) return hazard(x, y);
        if (std::abs(u - 0.5f) < 0.06f && v > 0.35f && v < 0.8f) return colorIndex(kYellow, 12);  // buckle
        return colorIndex(kGrey, 5 + grain(x, y, 3) + (y % 5 == 0 ? -2 : 0));
    };
}

IslandPainter paintUpperLimb() {
    return [](int x, int y, int w, int h) -> std::uint8_t {
        const float u = fraction(x, w), v = fraction(y, h);
        if (v < 0.12f || v > 0.88f) return steel(x, y, (y % 2) ? 4 : 7);  // joint rings
        if (std::abs(u - 0.25f) < 0.06f || std::abs(u - 0.75f) < 0.06f) return armour(x, y, 10);
        if (std::abs(u - 0.5f) < 0.03f) return dark(3);  // hydraulic line
        if (std::abs(u - 0.5f) < 0.07f) return steel(x, y, 12);
        return steel(x, y, 8);
    };
}

IslandPainter paintForearm() {
    return [](int x, int y, int w, int h) -> std::uint8_t {
        const float v = fraction(y, h);
        if (v < 0.1f || v > 0.92f) return steel(x, y, 5);
        for (float side : {0.25f, 0.75f})
            for (int k = 0; k < 3; ++k)
                if (distance(x, y, side * (w - 1), h * (0.35f + 0.12f * static_cast<float>(k))) < 1.8f)
                    return colorIndex(k == 0 ? kRed : kCyan, 14);
        if (v > 0.8f) return hazard(x, y);
        return armour(x, y, 10 + (v < 0.3f ? 1 : 0) + endShade(v));
    };
}

IslandPainter paintShin() {
    return [](int x, int y, int w, int h) -> std::uint8_t {
        const float u = fraction(x, w), v = fraction(y, h);
        const float front = std::abs(u - 0.5f);
        if (front < 0.2f && v < 0.32f) {  // knee guard
            if (v > 0.29f || front > 0.18f) return colorIndex(kBrown, 2);
            if (y % 5 == 2 && front > 0.14f) return steel(x, y, 13);
            return armour(x, y, 12);
        }
        if (v > 0.9f) return steel(x, y, 4);
        if (front > 0.4f && y % 4 == 0) return dark(2);  // calf vents
        return armour(x, y, 9 + endShade(v));
    };
}

IslandPainter paintPad() {
    return [](int x, int y, int w, int h) -> std::uint8_t {
        const float v = fraction(y, h);
        if (v > 0.85f) return colorIndex(kBrown, 2);
        // "07" on both outer sides, where left and right pads face out.
        for (float side : {0.25f, 0.75f}) {
            const int left = static_cast<int>(side * (w - 1)) - 7;
            if (stencil("07", left, h / 3, 2, x, y)) return dark(1);
        }
        return armour(x, y, v < 0.3f ? 12 : 10);
    };
}

IslandPainter paintHand() {
    return [](int x, int y, int, int h) -> std::uint8_t {
        const float v = fraction(y, h);
        if (v > 0.45f && x % 4 == 0) return dark(1);  // fingers
        return colorIndex(kGrey, 6 + grain(x, y, 4) + (v < 0.2f ? -1 : 0));
    };
}

IslandPainter paintFoot() {
    return [](int x, int y, int w, int h) -> std::uint8_t {
        const float u = fraction(x, w), v = fraction(y, h);
        if (std::abs(u - 0.5f) < 0.18f && v > 0.3f) return hazard(x, y);  // toe cap
        return colorIndex(kGrey, 5 + grain(x, y, 6) + (v > 0.8f ? -2 : 0));
    };
}

IslandPainter paintSole() {
    return [](int x, int y, int, int) -> std::uint8_t {
        return (x % 4 == 0 || y % 4 == 0) ? dark(1) : dark(4);  // tread
    };
}

IslandPainter paintJointCap() {
    return [](int x, int y, int w, int h) { return roundCap(x, y, w, h, kSteel, 7); };
}

IslandPainter paintAntenna() {
    return [](int x, int y, int, int h) -> std::uint8_t {
        const float v = fraction(y, h);
        if (v < 0.35f) return colorIndex(kRed, 15 - static_cast<int>(v * 12.0f));  // beacon
        return steel(x, y, 10);
    };
}

IslandPainter paintGunBody() {
    return [](int x, int y, int w, int h) -> std::uint8_t {
        const float u = fraction(x, w), v = fraction(y, h);
        if (std::abs(u - 0.5f) < 0.05f) return armour(x, y, 11);  // sighting stripe on top
        if (v > 0.3f && v < 0.6f && std::abs(u - 0.0f) < 0.12f && x % 3 == 0) return dark(1);
        if (y % 9 == 0) return colorIndex(kSteel, 3);
        return colorIndex(kSteel, 6 + grain(x, y, 7) + (v < 0.1f || v > 0.9f ? -2 : 0));
    };
}

IslandPainter paintBarrel() {
    return [](int x, int y, int, int) -> std::uint8_t {
        return colorIndex(kSteel, (y % 4 == 0) ? 3 : 5 + grain(x, y, 8));
    };
}

IslandPainter paintMuzzle() {
    return [](int x, int y, int w, int) -> std::uint8_t {
        return colorIndex(kSteel, 11 + grain(x, y, 10) + (x * 4 / std::max(w, 1)) % 2);
    };
}

IslandPainter paintCell() {
    return [](int, int y, int, int h) -> std::uint8_t {
        const float v = fraction(y, h);
        if (v < 0.15f || v > 0.85f || std::abs(v - 0.5f) < 0.05f) return colorIndex(kSteel, 4);
        return colorIndex(kCyan, 13 + (y % 3 == 0 ? 1 : 0));
    };
}

IslandPainter paintBore() {
    return [](int x, int y, int w, int h) -> std::uint8_t {
        const float r = distance(x, y, (w - 1) * 0.5f, (h - 1) * 0.5f) / ((w - 1) * 0.5f);
        if (r < 0.45f) return colorIndex(kCyan, 12 - static_cast<int>(r * 10.0f));
        return colorIndex(kSteel, r > 0.85f ? 7 : 10);
    };
}

IslandPainter paintGunCap() {
    return [](int x, int y, int w, int h) { return roundCap(x, y, w, h, kSteel, 6); };
}

}  // namespace tarn::cli::sample
