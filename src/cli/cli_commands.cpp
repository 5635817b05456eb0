#include "cli_commands.h"

#include <map>
#include <new>
#include <ostream>

#include "escaped_output.h"

namespace tarn::cli {

namespace {

struct Command {
    std::string usage;
    CommandFn run;
};

std::map<std::string, Command>& commands() {
    static std::map<std::string, Command> table;
    return table;
}

void usage(std::ostream& os) {
    os << "usage: tarn-cli COMMAND [ARGS]   (or --help, --version)\n";
    for (const auto& [name, cmd] : commands()) os << "  tarn-cli " << cmd.usage << '\n';
}

}  // namespace

Registrar::Registrar(const char* name, const char* usageText, CommandFn fn) {
    commands()[name] = Command{usageText, std::move(fn)};
}

int run(const Args& args, std::ostream& rawOut, std::ostream& rawErr) {
    EscapedOutput outText(rawOut), errText(rawErr);
    std::ostream out(&outText), err(&errText);
    if (args.empty()) {
        usage(err);
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        usage(out);
        return 0;
    }
    if (args[0] == "--version") {
        out << "tarn-cli " << TARN_VERSION << '\n';
        return 0;
    }
    auto it = commands().find(args[0]);
    if (it == commands().end()) {
        err << "tarn-cli: unknown command '" << args[0] << "'\n";
        usage(err);
        return 2;
    }
    try {
        return it->second.run(Args(args.begin() + 1, args.end()), out, err);
    } catch (const std::bad_alloc&) {
        err << "tarn-cli " << args[0] << ": out of memory\n";
        return 1;
    }
}

}  // namespace tarn::cli
