#pragma once
// Names from model files and folders are bytes, not text: a Latin-1 skin name
// is not UTF-8. What TARN prints stays valid UTF-8 by writing each byte that
// does not belong to a well-formed sequence as \xNN.
#include <cstddef>
#include <string>
#include <string_view>

namespace tarn {

// The length of the well-formed UTF-8 sequence at the start of `text` (1 to
// 4); 0 when the first byte starts none, and -1 when `text` ends before a
// sequence that could still be well-formed is complete.
int utf8SequenceLength(std::string_view text);

// `text` with every byte outside a well-formed sequence written as \xNN.
std::string escapeInvalidUtf8(std::string_view text);

}  // namespace tarn
