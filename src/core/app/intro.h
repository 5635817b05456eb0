#pragma once
// The intro picture: a 320 x 240 image of 15-bit colour with the logo, a
// fan of horizontal lines, a turning wireframe logo, noise, a bright band
// and a bevelled frame, drawn anew for each moment of the intro.
#include <cstdint>
#include <random>
#include <vector>

#include "platform/settings.h"
#include "raster/rasterizer.h"

namespace tarn {

inline constexpr int kIntroWidth = 320;
inline constexpr int kIntroHeight = 240;
inline constexpr int kLogoWidth = 314;
inline constexpr int kLogoHeight = 19;
// The intro ends by itself once this many milliseconds have passed.
inline constexpr int kIntroMaxMs = 59100;
inline constexpr int kIntroFrameMs = 15;

class IntroPicture {
public:
    explicit IntroPicture(unsigned seed);

    // The greyscale logo, kLogoWidth x kLogoHeight bytes, top row first.
    void setLogo(std::vector<std::uint8_t> grey);
    // Draws the picture of `elapsedMs` after the start.
    void draw(int elapsedMs);
    // Top row first, 5 bits each of red (highest), green and blue.
    const std::vector<std::uint16_t>& pixels() const { return pixels_; }

private:
    int random(int modulo) { return static_cast<int>(rng_() % static_cast<unsigned>(modulo)); }
    void drawLogo();
    void drawFan();
    void drawWireframe(double angle);
    void addNoise();
    void addBand(int bandRow);
    void drawFrame();

    std::mt19937 rng_;
    std::vector<std::uint8_t> logo_;
    std::vector<std::uint16_t> pixels_;
    Rasterizer raster_;  // draws the lines into pixels_
};

// The clip the intro plays: "Intro Number" 0..7 as it stands, 8 a random
// clip, 9 the "Intro WAV" file (-1) unless it cannot be read, then random.
int introClip(const SettingsStore& settings, bool customReadable, std::mt19937& rng);
inline constexpr int kIntroCustomFile = -1;

// Whether this run shows the intro: not with Ctrl held, not with "Skip Intro".
bool introAllowed(bool ctrlHeld, const SettingsStore& settings);

}  // namespace tarn
