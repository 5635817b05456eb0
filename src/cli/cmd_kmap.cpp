// tarn-cli kmap: a model's mapping written to a mapping file, or read from one
// into a copy of the model (the whole mapping, or with --selected only the
// listed Triangles' corners), as Export, Import and Import to Selected do.
#include <ostream>

#include "cli_args.h"
#include "edit/mapping_file.h"
#include "mapping_cli.h"
#include "platform/fs.h"

namespace tarn::cli {

namespace {

constexpr const char* kUsage =
    "kmap export MODEL.md2 OUT.kmp [--base DIR] | kmap import MODEL.md2 IN.kmp -o OUT.md2 [--selected LIST] "
    "[--base DIR]";

int kmapExport(const Args& args, std::ostream& out, std::ostream& err) {
    std::string base;
    std::vector<std::string> paths;
    OptionTable table;
    table.values["--base"] = [&](const std::string& v) { return takeBaseFolder(v, base); };
    if (std::string why = readOptions(args, table, paths); !why.empty() || paths.size() != 2)
        return usageError(err, "kmap export", why.empty() ? "expected MODEL.md2 and OUT.kmp" : why, kUsage);
    CliModel model(err, baseFor(base, paths[0]), "kmap export");
    if (!model.load(paths[0]) ||
        refuseOutputOverInput(err, "kmap export", paths[1], args, filesOfSkins(model.skins())) ||
        !ExportMapping(model.ui(), model.mesh(), paths[1]))
        return kExitFailed;
    out << "wrote " << paths[1] << " (" << model.mesh().triangleCount << " triangles, "
        << model.mesh().mappingVertCount << " mapping verts, " << model.mesh().skinWidth << "x"
        << model.mesh().skinHeight << ")\n";
    return kExitOk;
}

int kmapImport(const Args& args, std::ostream& out, std::ostream& err) {
    std::string base, output;
    std::vector<int> selected;
    bool scoped = false;
    std::vector<std::string> paths;
    OptionTable table;
    table.values["--base"] = [&](const std::string& v) { return takeBaseFolder(v, base); };
    table.values["-o"] = [&](const std::string& v) { output = absolutePath(v); return true; };
    table.values["--selected"] = [&](const std::string& v) { scoped = true; return parseList(v, selected); };
    std::string why = readOptions(args, table, paths);
    if (why.empty() && paths.size() != 2) why = "expected MODEL.md2 and IN.kmp";
    if (why.empty() && output.empty()) why = "no output given (-o OUT.md2)";
    if (!why.empty()) return usageError(err, "kmap import", why, kUsage);

    CliModel model(err, baseFor(base, paths[0]), "kmap import");
    if (!model.load(paths[0]) || refuseOutputOverInput(err, "kmap import", output, args, filesOfSkins(model.skins())))
        return kExitFailed;
    if (const std::string bad = model.select(selected); !bad.empty()) {
        err << "tarn-cli kmap import: " << bad << '\n';
        return kExitFailed;
    }
    const ImportScope scope = scoped ? ImportScope::Selected : ImportScope::Whole;
    if (!ImportMapping(model.ui(), model.mesh(), paths[1], scope, MappingEditor{}) || !model.save(output))
        return kExitFailed;
    out << "wrote " << output << " (" << model.mesh().mappingVertCount << " mapping verts)\n";
    return kExitOk;
}

int kmap(const Args& args, std::ostream& out, std::ostream& err) {
    const Args rest = args.empty() ? Args{} : Args(args.begin() + 1, args.end());
    if (!args.empty() && args[0] == "export") return kmapExport(rest, out, err);
    if (!args.empty() && args[0] == "import") return kmapImport(rest, out, err);
    return usageError(err, "kmap", "expected export or import", kUsage);
}

Registrar reg("kmap", kUsage, kmap);

}  // namespace

}  // namespace tarn::cli
