#include "hostile_models.h"

#include <algorithm>
#include <cstdint>

namespace tarn::test {

Bytes skinNamesModel(const std::vector<std::string>& skinNames, int skinWidth, int skinHeight) {
    constexpr std::size_t kHeader = 68, kName = 64;
    const auto end = static_cast<std::int32_t>(kHeader + kName * skinNames.size());
    const std::int32_t fields[] = {8, skinWidth, skinHeight, 40, static_cast<std::int32_t>(skinNames.size()),
                                   0, 0, 0, 0, 0, static_cast<std::int32_t>(kHeader), end, end, end, end, end};
    Bytes f{'I', 'D', 'P', '2'};
    for (std::int32_t v : fields)
        for (int b = 0; b < 4; ++b) f.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * b)));
    for (const std::string& name : skinNames) {
        Bytes record(kName, 0);
        std::copy_n(name.begin(), std::min(name.size(), kName - 1), record.begin());
        f.insert(f.end(), record.begin(), record.end());
    }
    return f;
}

Bytes piledModel(const PiledModel& r) {
    constexpr int kHeader = 68, kFrameHeader = 40, kJitter = 50;
    const int verts = r.triangles * 3;
    const int frameSize = kFrameHeader + 4 * r.vertices;
    const int st = kHeader, tris = st + 4 * verts, frames = tris + 12 * r.triangles;
    const int end = frames + frameSize * r.frames;
    const std::int32_t fields[] = {8,       r.skinWidth, r.skinHeight, frameSize, 0,   r.vertices, verts, r.triangles, 0,
                                   r.frames, kHeader,     st,           tris,      frames, end,      end};
    Bytes f{'I', 'D', 'P', '2'};
    f.reserve(std::size_t(end));
    const auto put = [&f](std::uint32_t v, int bytes) {
        for (int b = 0; b < bytes; ++b) f.push_back(static_cast<std::uint8_t>(v >> (8 * b)));
    };
    for (std::int32_t v : fields) put(static_cast<std::uint32_t>(v), 4);
    for (int i = 0; i < r.triangles; ++i) {
        const int a = i % kJitter, b = (i / kJitter) % kJitter;
        int corners[3][2] = {{-a, -b}, {r.reachS + a, -b}, {-b, r.reachT + a}};
        if (r.scatter > 0) {
            const std::uint32_t h = static_cast<std::uint32_t>(i) * 2654435761u;
            const int s = static_cast<int>(h % std::uint32_t(std::max(r.reachS, 1)));
            const int t = static_cast<int>((h >> 7) % std::uint32_t(std::max(r.reachT, 1)));
            const int legS = 3 + static_cast<int>((h >> 3) % std::uint32_t(r.scatter));
            const int legT = 3 + static_cast<int>((h >> 11) % std::uint32_t(r.scatter));
            const int small[3][2] = {{s, t}, {s + legS, t}, {s, t + legT}};
            std::copy(&small[0][0], &small[0][0] + 6, &corners[0][0]);
        }
        for (const auto& c : corners) {
            put(static_cast<std::uint16_t>(std::clamp(c[0], -32768, 32767)), 2);
            put(static_cast<std::uint16_t>(std::clamp(c[1], -32768, 32767)), 2);
        }
    }
    for (int i = 0; i < r.triangles; ++i) {
        for (int k = 0; k < 3; ++k) put(static_cast<std::uint32_t>((i + k) % std::max(r.vertices, 1)), 2);
        for (int k = 0; k < 3; ++k) put(static_cast<std::uint32_t>(3 * i + k), 2);
    }
    for (int frame = 0; frame < r.frames; ++frame) {
        for (int k = 0; k < 3; ++k) put(0x3f800000u, 4);  // scale 1
        for (int k = 0; k < 3; ++k) put(0, 4);
        std::string name = "frame" + std::to_string(frame);
        name.resize(16, '\0');
        f.insert(f.end(), name.begin(), name.end());
        for (int v = 0; v < r.vertices; ++v) put(static_cast<std::uint32_t>(v * 2654435761u) & 0x00ffffffu, 4);
    }
    return f;
}

}  // namespace tarn::test
