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

inline Bytes bytesOf(const std::uint8_t* data, std::size_t size) { return Bytes(data, data + size); }

// A Ui whose messages are kept for the checks and written nowhere.
struct QuietUi {
    std::ostringstream sink;
    BatchUi ui{sink};
    std::size_t shown() const { return ui.messages().size(); }
    bool allSaySomething() const {
        for (const std::string& m : ui.messages())
            if (m.empty()) return false;
        return true;
    }
};

// A private folder for harnesses that must read through the file layer.
const std::string& scratchFolder();
// Writes `bytes` to `path` without the flush a real save makes.
bool writeScratch(const std::string& path, const Bytes& bytes);

}  // namespace tarn::fuzz
