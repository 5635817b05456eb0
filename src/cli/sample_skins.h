#pragma once
// The painters of the sample skins, one per island. Side islands wrap around
// a part with the part's front in their middle column and its top in their
// top row; disc islands hold a cap seen from outside.
#include "sample_model.h"

namespace tarn::cli::sample {

// Tarnbot, the sample robot.
IslandPainter paintTorso();
IslandPainter paintTorsoTop();
IslandPainter paintHead();
IslandPainter paintHeadTop();
IslandPainter paintPelvis();
IslandPainter paintUpperLimb();
IslandPainter paintForearm();
IslandPainter paintShin();
IslandPainter paintPad();
IslandPainter paintHand();
IslandPainter paintFoot();
IslandPainter paintSole();
IslandPainter paintJointCap();
IslandPainter paintAntenna();

// Its blaster.
IslandPainter paintGunBody();
IslandPainter paintBarrel();
IslandPainter paintMuzzle();
IslandPainter paintCell();
IslandPainter paintBore();
IslandPainter paintGunCap();

}  // namespace tarn::cli::sample
