#pragma once
// What every harness shares: a contract check that stops the run with the
// broken promise in words (libFuzzer then keeps the input), and a Ui that
// records what a reader told the user.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/batch_ui.h"
#include "platform/fs.h"

namespace tarn::fuzz {

[[noreturn]] inline void broken(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: contract broken: %s\n", file, line, what);
    std::abort();
}

#define TARN_FUZZ_CHECK(cond)                                   \
    do {                                                        \
        if (!(cond)) ::tarn::fuzz::broken(#cond, __FILE__, __LINE__); \
    } while (0)

// True when `work` (pixels, vertices, ...) stays in proportion to an input of
// `size` bytes. Formats let a few header bytes ask for a 67-megapixel image;
// checking that in full at every input would hold the fuzzer at a few dozen
// inputs a second, so the costly checks run only on proportionate inputs
// (the sizes themselves are still checked against the capacities).
inline bool proportionate(std::size_t work, std::size_t size) {
    constexpr std::size_t kWorkPerByte = 64;
    constexpr std::size_t kFreeWork = 65536;  // a 256 x 256 skin, whatever the input
    return work <= kFreeWork + kWorkPerByte * size;
}

// The pixels an image file's header asks for (PCX, BMP or PNG by their
// leading bytes, else what stb_image finds), before any decoder runs; 0 when
// it is none of these.
// A BMP's end-of-bitmap code or a PNG's filters fill a large image from a few
// bytes, so this, not the input's length, is what decoding it costs.
std::size_t declaredPixels(const std::uint8_t* data, std::size_t size);

inline Bytes bytesOf(const std::uint8_t* data, std::size_t size) { return Bytes(data, data + size); }

// A Ui whose messages are kept for the checks and written nowhere.
struct QuietUi {
    std::ostringstream sink;
    BatchUi ui{sink};
    std::size_t shown() const { return ui.messages().size(); }
    // Whether every message from the `from`th on says something; only the
    // latest are looked at, as the list grows with every input.
    bool allSaySomething(std::size_t from = 0) const {
        const auto& all = ui.messages();
        for (std::size_t i = from; i < all.size(); ++i)
            if (all[i].empty()) return false;
        return true;
    }
};

// A private folder for harnesses that must read through the file layer.
const std::string& scratchFolder();
// Writes `bytes` to `path` without the flush a real save makes.
bool writeScratch(const std::string& path, const Bytes& bytes);

}  // namespace tarn::fuzz
