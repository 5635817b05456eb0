#pragma once
// Geometry for TARN's sample content: models built from lathed parts hung on
// a small skeleton, each part with its own island on the skin atlas, posed
// frame by frame.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/md2_format.h"
#include "model/vec3.h"
#include "platform/fs.h"

namespace tarn::cli::sample {

// A rigid transform: rotation (row-major) then translation.
struct Xf {
    std::array<float, 9> m{1, 0, 0, 0, 1, 0, 0, 0, 1};
    Vec3f t{};

    Vec3f apply(const Vec3f& p) const {
        return {m[0] * p.x + m[1] * p.y + m[2] * p.z + t.x, m[3] * p.x + m[4] * p.y + m[5] * p.z + t.y,
                m[6] * p.x + m[7] * p.y + m[8] * p.z + t.z};
    }
    // This transform after `inner`.
    Xf operator*(const Xf& inner) const;
};
Xf translate(float x, float y, float z);
Xf rotateX(float radians);
Xf rotateY(float radians);
Xf rotateZ(float radians);

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

// A profile ring of a lathed part: height along the part's axis and radius.
struct Ring {
    float z;
    float r;
};

// A solid of revolution around the local z axis, rings from top to bottom.
struct LatheShape {
    std::vector<Ring> rings;
    int segments = 8;
    float scaleX = 1.0f;  // depth (forward)
    float scaleY = 1.0f;  // width (sideways)
    float offsetX = 0.0f;
    bool capTop = true;
    bool capBottom = true;
};

// Where a lathe's faces land on the skin.
struct LatheIslands {
    int side = -1;       // island index of the wrapped side; its middle column faces forward
    int top = -1;        // disc island of the top cap
    int bottom = -1;     // disc island of the bottom cap
};

// Paints one island: called for each pixel with its position inside it.
using IslandPainter = std::function<std::uint8_t(int x, int y, int w, int h)>;

// A model under construction. Vertices are kept in the space of the bone
// they hang on; frames place the bones.
class ModelBuilder {
public:
    ModelBuilder(int skinWidth, int skinHeight) : skinWidth_(skinWidth), skinHeight_(skinHeight) {}

    // Islands are packed onto the atlas in the order they are added; disc
    // islands are square and the caps' rings lie on their inscribed circle.
    int addIsland(int w, int h, IslandPainter painter);
    void addLathe(const LatheShape& shape, const LatheIslands& islands, int bone);

    // Places every island; false when they do not fit on the skin.
    bool packIslands();
    Bytes paintSkin() const;

    int vertexCount() const { return static_cast<int>(local_.size()); }
    int triangleCount() const { return static_cast<int>(triangles_.size()); }
    const std::vector<MappingVert>& skinCoords() const { return skinCoords_; }
    const std::vector<Md2Triangle>& triangles() const { return triangles_; }
    std::vector<Vec3f> pose(const std::vector<Xf>& bones) const;
    int skinWidth() const { return skinWidth_; }
    int skinHeight() const { return skinHeight_; }

private:
    struct Island {
        int w, h;
        Rect at;
        IslandPainter painter;
    };
    // A corner waiting for its island to be placed: the island and a position
    // inside it in 0..1.
    struct PendingCoord {
        int island;
        float u, v;
    };
    int addVertex(const Vec3f& local, int bone);
    int addCoord(int island, float u, float v);
    void addTriangle(std::array<int, 3> v, std::array<int, 3> st, const Vec3f& outward);

    int skinWidth_;
    int skinHeight_;
    std::vector<Island> islands_;
    std::vector<Vec3f> local_;
    std::vector<int> bone_;
    std::vector<PendingCoord> pending_;
    std::vector<MappingVert> skinCoords_;
    std::vector<Md2Triangle> triangles_;
};

// A finished model: what an .md2 and its skin need.
struct SampleModel {
    int skinWidth = 0;
    int skinHeight = 0;
    std::vector<MappingVert> skinCoords;
    std::vector<Md2Triangle> triangles;
    std::vector<std::string> frameNames;
    std::vector<std::vector<Vec3f>> frames;
    Bytes skinPixels;
};

// The .md2 of a sample model, skin names as given, GL commands built.
Bytes encodeSampleMd2(const SampleModel& model, const std::vector<std::string>& skinNames);

}  // namespace tarn::cli::sample
