#include "md2_test_file.h"

#include <bit>

namespace tarn::test {

namespace {

void put32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void put16(Bytes& out, std::int16_t v) {
    const auto u = static_cast<std::uint16_t>(v);
    out.push_back(static_cast<std::uint8_t>(u & 0xFF));
    out.push_back(static_cast<std::uint8_t>(u >> 8));
}
void putText(Bytes& out, const std::string& text, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) out.push_back(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
}

}  // namespace

Bytes TestMd2::build() const {
    const std::int32_t vertices = frames.empty() ? 0 : static_cast<std::int32_t>(frames[0].vertices.size());
    const auto frameSize = static_cast<std::int32_t>(md2FrameBytes(vertices)) + framePadding;
    const std::int32_t ofsSkins = 68;
    const auto ofsSt = ofsSkins + 64 * static_cast<std::int32_t>(skins.size());
    const auto ofsTris = ofsSt + 4 * static_cast<std::int32_t>(skinCoords.size());
    const auto ofsFrames = ofsTris + 12 * static_cast<std::int32_t>(triangles.size());
    const auto ofsGl = ofsFrames + frameSize * static_cast<std::int32_t>(frames.size());
    const auto ofsEnd = ofsGl + 4 * static_cast<std::int32_t>(glCommands.size());

    Bytes out{'I', 'D', 'P', '2'};
    for (std::int32_t v : {version, skinWidth, skinHeight, frameSize, static_cast<std::int32_t>(skins.size()),
                           vertices, static_cast<std::int32_t>(skinCoords.size()),
                           static_cast<std::int32_t>(triangles.size()),
                           static_cast<std::int32_t>(glCommands.size()), static_cast<std::int32_t>(frames.size()),
                           ofsSkins, ofsSt, ofsTris, ofsFrames, ofsGl, ofsEnd})
        put32(out, static_cast<std::uint32_t>(v));
    for (const std::string& s : skins) putText(out, s, 64);
    for (const MappingVert& st : skinCoords) {
        put16(out, st.s);
        put16(out, st.t);
    }
    for (const Md2Triangle& t : triangles) {
        for (auto v : t.vertex) put16(out, v);
        for (auto v : t.skinCoord) put16(out, v);
    }
    for (const TestFrame& f : frames) {
        for (float v : f.scale) put32(out, std::bit_cast<std::uint32_t>(v));
        for (float v : f.translate) put32(out, std::bit_cast<std::uint32_t>(v));
        putText(out, f.name, 16);
        for (const auto& v : f.vertices) out.insert(out.end(), v.begin(), v.end());
        out.insert(out.end(), static_cast<std::size_t>(framePadding), std::uint8_t{0xEE});
    }
    for (std::int32_t w : glCommands) put32(out, static_cast<std::uint32_t>(w));
    return out;
}

void patchI32(Bytes& file, std::size_t offset, std::int32_t value) {
    for (int i = 0; i < 4; ++i)
        file[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}

std::int32_t readI32(const Bytes& file, std::size_t offset) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(file[offset + static_cast<std::size_t>(i)]) << (8 * i);
    return static_cast<std::int32_t>(v);
}

TestMd2 quadModel() {
    TestMd2 m;
    m.skins = {"models/quad/skin.pcx"};
    // Index 4 repeats index 1; index 3 is used by no triangle.
    m.skinCoords = {{0, 0}, {63, 0}, {0, 31}, {50, 50}, {63, 0}, {63, 31}};
    m.triangles = {{{0, 1, 2}, {0, 1, 2}}, {{2, 1, 3}, {2, 4, 5}}};
    for (int f = 0; f < 3; ++f) {
        TestFrame frame;
        frame.name = "run" + std::to_string(f + 1);
        frame.scale = {0.5f, 0.5f, 0.5f};
        frame.translate = {-1.0f, 2.0f, static_cast<float>(f)};
        const auto b = static_cast<std::uint8_t>(f * 10);
        frame.vertices = {{0, 0, b, 1}, {100, 0, b, 2}, {0, 100, b, 3}, {100, 100, b, 4}};
        m.frames.push_back(frame);
    }
    return m;
}

}  // namespace tarn::test
