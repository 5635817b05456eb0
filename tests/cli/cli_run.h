#pragma once
// One tarn-cli command line run in-process, with its exit code and what it wrote.
#include <sstream>
#include <string>

#include "cli_commands.h"

namespace tarn::cli {

struct CliRun {
    int code = 0;
    std::string out, err;
};

inline CliRun runCli(const Args& args) {
    std::ostringstream out, err;
    const int code = run(args, out, err);
    return {code, out.str(), err.str()};
}

}  // namespace tarn::cli
