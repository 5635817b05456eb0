#include "escaped_output.h"

#include "platform/utf8.h"

namespace tarn::cli {

namespace {

// A well-formed sequence is at most this long, so at most this less one is held.
constexpr std::size_t kLongestSequence = 4;

}  // namespace

EscapedOutput::~EscapedOutput() { pass(true); }

EscapedOutput::int_type EscapedOutput::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    held_ += traits_type::to_char_type(c);
    if (held_.back() == '\n' || held_.size() >= kLongestSequence) pass(false);
    return c;
}

std::streamsize EscapedOutput::xsputn(const char* s, std::streamsize n) {
    held_.append(s, static_cast<std::size_t>(n));
    pass(false);
    return n;
}

int EscapedOutput::sync() {
    pass(true);
    target_.flush();
    return target_ ? 0 : -1;
}

void EscapedOutput::pass(bool all) {
    // Keep back only the start of a sequence that the next write may finish.
    std::size_t keep = 0;
    if (!all) {
        const std::size_t from = held_.size() > kLongestSequence - 1 ? held_.size() - (kLongestSequence - 1) : 0;
        for (std::size_t i = from; i < held_.size(); ++i) {
            if (utf8SequenceLength(std::string_view(held_).substr(i)) == -1) {
                keep = held_.size() - i;
                break;
            }
        }
    }
    const std::size_t done = held_.size() - keep;
    if (done == 0) return;
    target_ << escapeInvalidUtf8(std::string_view(held_).substr(0, done));
    held_.erase(0, done);
}

}  // namespace tarn::cli
