#pragma once
// tarn-cli's command table. Each command lives in its own cmd_*.cpp and adds
// itself with a static Registrar, so commands never share a file.
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace tarn::cli {

using Args = std::vector<std::string>;
using CommandFn = std::function<int(const Args& args, std::ostream& out, std::ostream& err)>;

struct Registrar {
    Registrar(const char* name, const char* usage, CommandFn fn);
};

// Runs one tarn-cli command line (without the program name); returns the exit code.
int run(const Args& args, std::ostream& out, std::ostream& err);

}  // namespace tarn::cli
