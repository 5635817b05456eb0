#pragma once
// Tarnbot, TARN's sample model, and the blaster it holds as a companion.
#include "sample_model.h"

namespace tarn::cli::sample {

inline constexpr int kRobotSkinWidth = 256;   // a multiple of 4, as skins should be
inline constexpr int kRobotSkinHeight = 256;
inline constexpr int kBlasterSkinWidth = 128;
inline constexpr int kBlasterSkinHeight = 64;

// Both models share the same frames: the blaster follows the right hand.
SampleModel buildRobot();
SampleModel buildBlaster();

}  // namespace tarn::cli::sample
