#include "model_args.h"

#include "cli_args.h"
#include "model/game_folder.h"
#include "platform/fs.h"

namespace tarn::cli {

ModelArgs parseModelArgs(const Args& args, std::size_t pathCount) {
    ModelArgs out;
    bool baseGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--base") {
            if (i + 1 >= args.size()) {
                out.error = "--base needs a folder";
                return out;
            }
            if (!takeBaseFolder(args[++i], out.base)) {
                out.error = "--base names no folder: '" + args[i] + "'";
                return out;
            }
            baseGiven = true;
        } else if (args[i].rfind("--", 0) == 0) {
            out.error = "unknown option '" + args[i] + "'";
            return out;
        } else {
            out.paths.push_back(absolutePath(args[i]));
        }
    }
    if (out.paths.size() != pathCount) {
        out.error = "expected " + std::to_string(pathCount) + " path(s), got " + std::to_string(out.paths.size());
        return out;
    }
    if (!baseGiven) out.base = defaultBaseFolder(out.paths[0]);
    return out;
}

}  // namespace tarn::cli
