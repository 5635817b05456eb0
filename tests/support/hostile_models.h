#pragma once
// Small .md2 files built to hurt, for the tests of every layer that opens
// models (and the benchmarks of what they cost).
#include <string>
#include <vector>

#include "platform/fs.h"

namespace tarn::test {

// A model of the given skin size whose skin-name records hold `skinNames`.
Bytes skinNamesModel(const std::vector<std::string>& skinNames, int skinWidth = 64, int skinHeight = 32);

// The worst cases of bounded work: `triangles` Triangles, each with three
// MappingVerts of its own, all piled over the same stretch of the skin: their
// corners near (0, 0), (reachS, 0) and (0, reachT), apart by a few texels so
// no two share a MappingVert. `frames` frames of `vertices` vertices.
struct PiledModel {
    int triangles = 4096;
    int skinWidth = 640;
    int skinHeight = 480;
    int reachS = 4000;
    int reachT = 4000;
    int frames = 1;
    int vertices = 3;
    // Above 0: small Triangles instead, legs of 3 to 2 + scatter texels,
    // strewn over the reach (overlapping ones join into one island).
    int scatter = 0;
};
Bytes piledModel(const PiledModel& recipe);

// The 132-byte model whose one skin name climbs out to /dev/zero.
inline Bytes devZeroModel() { return skinNamesModel({"../../../../../../../../dev/zero"}); }

}  // namespace tarn::test
