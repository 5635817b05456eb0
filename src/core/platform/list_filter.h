#pragma once
// How a typed filter ranks the entries of a chooser (the models inside the
// PAK files): every word must occur; a word that is a whole path segment
// ("male" in players/male/tris.md2, or "tris" for tris.md2) counts most, one
// that begins a segment next, one inside a segment least.
#include <string>
#include <vector>

namespace tarn {

// The filter's words, split at spaces.
std::vector<std::string> filterWords(const std::string& text);

// The entry's rank for `words`, higher first; -1 when a word does not occur.
// Case is ignored.
int filterRank(const std::string& entry, const std::vector<std::string>& words);

// The indices of the entries that match, best rank first, in their own
// order among equals.
std::vector<int> rankEntries(const std::vector<std::string>& entries, const std::string& text);

}  // namespace tarn
