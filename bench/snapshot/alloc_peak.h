#pragma once
// The most heap memory held at once since the last reset, counted through
// the global operator new, so that a benchmark can report what a piece of
// work needs beyond what was there before it.
#include <cstddef>

namespace tarn::bench {

void resetAllocPeak();
// Bytes above what was held at the last reset.
std::size_t allocPeak();

}  // namespace tarn::bench
