#pragma once
// Builds small MD2 files for the companion tests.
#include <bit>
#include <cstring>
#include <string>

#include "platform/fs.h"

namespace tarn::test {

// A small MD2 image: `frames` frames of a 3-vertex, 1-triangle model, with an
// optional skin name.
inline Bytes companionFile(int frames, const std::string& skinName = "", int skinW = 8, int skinH = 8) {
    Bytes b(68, 0);
    auto put32 = [&](std::size_t at, std::int32_t v) {
        for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = std::uint8_t(std::uint32_t(v) >> (8 * i));
    };
    auto append16 = [&](std::int16_t v) {
        b.push_back(std::uint8_t(v & 0xFF));
        b.push_back(std::uint8_t((v >> 8) & 0xFF));
    };
    auto appendFloat = [&](float f) {
        const auto u = std::bit_cast<std::uint32_t>(f);
        for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(u >> (8 * i)));
    };
    std::memcpy(b.data(), "IDP2", 4);
    put32(4, 8);
    put32(8, skinW);
    put32(12, skinH);
    put32(16, 40 + 3 * 4);
    put32(20, skinName.empty() ? 0 : 1);
    put32(24, 3);
    put32(28, 3);
    put32(32, 1);
    put32(40, frames);
    put32(44, std::int32_t(b.size()));
    if (!skinName.empty()) {
        std::string rec = skinName;
        rec.resize(64, '\0');
        b.insert(b.end(), rec.begin(), rec.end());
    }
    put32(48, std::int32_t(b.size()));
    for (std::int16_t st : {0, 0, 7, 0, 7, 7}) append16(st);
    put32(52, std::int32_t(b.size()));
    for (std::int16_t v : {0, 1, 2, 0, 1, 2}) append16(v);
    put32(56, std::int32_t(b.size()));
    for (int f = 0; f < frames; ++f) {
        for (float v : {1.0f, 1.0f, 1.0f, float(f), 0.0f, 0.0f}) appendFloat(v);
        b.insert(b.end(), 16, 0);
        for (std::uint8_t v : {0, 0, 0, 0, 0, 10, 0, 0, 0, 10, 10, 0}) b.push_back(v);
    }
    put32(60, std::int32_t(b.size()));
    put32(64, std::int32_t(b.size()));
    return b;
}

}  // namespace tarn::test
