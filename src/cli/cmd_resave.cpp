// tarn-cli resave: LoadMesh, then SaveMesh, as Open and Save As would without
// a window. The model's named skins are read (missing ones are reported and
// stay named), no folder is scanned, and the output replaces OUT only once it
// is completely written.
#include <ostream>

#include "cli_args.h"
#include "cli_commands.h"
#include "model/mesh_session.h"
#include "model_args.h"
#include "platform/batch_ui.h"

namespace tarn::cli {

namespace {

int resave(const Args& args, std::ostream& out, std::ostream& err) {
    const ModelArgs a = parseModelArgs(args, 2);
    if (!a.error.empty()) {
        err << "tarn-cli resave: " << a.error << "\nusage: tarn-cli resave MODEL.md2 OUT.md2 [--base DIR]\n";
        return 2;
    }
    BatchUi ui(err, "tarn-cli resave: ");
    MemorySettings settings;
    // A model without skin names is saved without them: nothing is scanned.
    settings.setInt(kPreferences, kDirScanPromptKey, 1);
    MeshSession session(ui, settings, a.base);
    if (!LoadMesh(session.context, a.paths[0])) return 1;
    if (refuseOutputOverInput(err, "resave", a.paths[1], args, filesOfSkins(session.skins))) return 1;
    if (!SaveMesh(session.context, a.paths[1])) return 1;
    out << "wrote " << a.paths[1] << '\n';
    return 0;
}

Registrar reg("resave", "resave MODEL.md2 OUT.md2 [--base DIR]", resave);

}  // namespace

}  // namespace tarn::cli
