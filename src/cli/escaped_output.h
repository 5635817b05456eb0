#pragma once
// tarn-cli's output goes through this stream buffer: file names read from
// models and folders may be any bytes, while what is printed stays UTF-8.
#include <ostream>
#include <streambuf>
#include <string>

namespace tarn::cli {

// Passes text on to another stream, each byte outside a well-formed UTF-8
// sequence written as \xNN. A sequence split between two writes is held
// until its end arrives; what is held at a flush or at the end is written.
class EscapedOutput : public std::streambuf {
public:
    explicit EscapedOutput(std::ostream& target) : target_(target) {}
    ~EscapedOutput() override;
    EscapedOutput(const EscapedOutput&) = delete;
    EscapedOutput& operator=(const EscapedOutput&) = delete;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    // Writes what is complete; with `all`, a held partial sequence too.
    void pass(bool all);

    std::ostream& target_;
    std::string held_;
};

}  // namespace tarn::cli
