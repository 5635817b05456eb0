#pragma once
// The arguments of the model commands: positional paths and an optional
// "--base DIR" anywhere on the line.
#include <cstddef>
#include <string>
#include <vector>

#include "cli_commands.h"

namespace tarn::cli {

struct ModelArgs {
    std::vector<std::string> paths;  // absolute
    std::string base;   // the folder skin names are relative to
    std::string error;  // set when the line does not fit the usage
};

// Expects exactly `pathCount` paths; the base folder defaults to the
// "baseq2" folder above the first path, else that path's folder.
ModelArgs parseModelArgs(const Args& args, std::size_t pathCount);

}  // namespace tarn::cli
