// tarn-cli pak: what a PAK archive holds, and one file taken out of it. The
// archive is only read; its directory is checked whole before anything in it
// is listed or extracted.
#include <ostream>

#include "cli_args.h"
#include "cli_commands.h"
#include "platform/fs.h"
#include "platform/pak.h"

namespace tarn::cli {

namespace {

constexpr const char* kUsage = "usage: tarn-cli pak list PAK\n       tarn-cli pak extract PAK NAME -o OUT\n";

int usage(std::ostream& err, const std::string& complaint) {
    err << "tarn-cli pak: " << complaint << '\n' << kUsage;
    return kExitUsage;
}

// The checked archive, or nothing after saying why.
std::shared_ptr<const PakArchive> openArchive(const std::string& path, std::ostream& err) {
    PakArchive::Opened opened = PakArchive::open(path);
    if (!opened.archive) err << path << ": " << opened.error << '\n';
    return opened.archive;
}

int list(const std::string& path, std::ostream& out, std::ostream& err) {
    const auto archive = openArchive(path, err);
    if (!archive) return kExitFailed;
    for (const PakEntry& entry : archive->entries()) out << entry.length << '\t' << entry.name << '\n';
    out << archive->entries().size() << " files\n";
    return kExitOk;
}

int extract(const std::string& path, const std::string& name, const std::string& output, std::ostream& out,
            std::ostream& err) {
    const auto archive = openArchive(path, err);
    if (!archive) return kExitFailed;
    const PakEntry* entry = archive->find(name);
    if (!entry) {
        err << path << ": no file named \"" << name << "\"\n";
        return kExitFailed;
    }
    const ReadResult file = archive->read(*entry);
    if (!file.ok()) {
        err << readFailureLine(path, file.error) << '\n';
        return kExitFailed;
    }
    const int error = writeFileAtomic(output, file.bytes);
    if (error != 0) {
        err << saveFailureLine(output, error) << '\n';
        return kExitFailed;
    }
    out << "wrote " << output << " (" << file.bytes.size() << " bytes of " << entry->name << ")\n";
    return kExitOk;
}

int pak(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return usage(err, "list or extract?");
    if (args[0] == "list") {
        if (args.size() != 2) return usage(err, "list takes one PAK");
        return list(absolutePath(args[1]), out, err);
    }
    if (args[0] == "extract") {
        std::vector<std::string> positional;
        std::string output;
        for (std::size_t i = 1; i < args.size(); ++i) {
            if (args[i] == "-o" && i + 1 < args.size())
                output = absolutePath(args[++i]);
            else if (args[i].rfind("-", 0) == 0)
                return usage(err, "unknown option '" + args[i] + "'");
            else
                positional.push_back(args[i]);
        }
        if (positional.size() != 2 || output.empty()) return usage(err, "extract takes a PAK, a name and -o OUT");
        if (refuseOutputOverInput(err, "pak extract", output, args)) return kExitFailed;
        return extract(absolutePath(positional[0]), positional[1], output, out, err);
    }
    return usage(err, "unknown pak command '" + args[0] + "'");
}

Registrar reg("pak", "pak list PAK | pak extract PAK NAME -o OUT", pak);

}  // namespace

}  // namespace tarn::cli
