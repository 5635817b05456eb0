#include "platform/list_filter.h"

#include <algorithm>
#include <sstream>

#include "platform/fs.h"

namespace tarn {

namespace {

// Points of each kind of match: enough apart that one better match outweighs
// any number of worse ones among a few typed words.
constexpr int kWholeSegment = 10000;
constexpr int kSegmentStart = 100;
constexpr int kInside = 1;

std::vector<std::string> segmentsOf(const std::string& entry) {
    std::vector<std::string> segments;
    std::string segment;
    for (char ch : lowerCase(entry)) {
        if (ch == '/' || ch == '\\') {
            if (!segment.empty()) segments.push_back(segment);
            segment.clear();
        } else {
            segment += ch;
        }
    }
    if (!segment.empty()) segments.push_back(segment);
    return segments;
}

int wordPoints(const std::vector<std::string>& segments, const std::string& word) {
    int best = -1;
    for (const std::string& s : segments) {
        const std::size_t dot = s.rfind('.');
        if (s == word || (dot != std::string::npos && s.compare(0, dot, word) == 0 && dot == word.size()))
            return kWholeSegment;
        const std::size_t at = s.find(word);
        if (at == 0) best = std::max(best, kSegmentStart);
        else if (at != std::string::npos) best = std::max(best, kInside);
    }
    return best;
}

}  // namespace

std::vector<std::string> filterWords(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(lowerCase(text));
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

int filterRank(const std::string& entry, const std::vector<std::string>& words) {
    const std::vector<std::string> segments = segmentsOf(entry);
    int rank = 0;
    for (const std::string& word : words) {
        const int points = wordPoints(segments, lowerCase(word));
        if (points < 0) return -1;
        rank += points;
    }
    return rank;
}

std::vector<int> rankEntries(const std::vector<std::string>& entries, const std::string& text) {
    const std::vector<std::string> words = filterWords(text);
    std::vector<std::pair<int, int>> ranked;  // (rank, index)
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        const int rank = filterRank(entries[std::size_t(i)], words);
        if (rank >= 0) ranked.emplace_back(rank, i);
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<int> order;
    for (const auto& r : ranked) order.push_back(r.second);
    return order;
}

}  // namespace tarn
