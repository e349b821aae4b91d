#include <iostream>

#include "command.h"

namespace ondrel::cli {

bool registerCommand(Command command) {
    const_cast<std::vector<Command>&>(commands()).push_back(std::move(command));
    return true;
}

const std::vector<Command>& commands() {
    static std::vector<Command> all;
    return all;
}

int usageError(std::string_view command, const std::string& message) {
    std::cerr << "ondrel-cli " << command << ": " << message << "\n";
    for (const Command& c : commands())
        if (c.name == command) std::cerr << "usage: ondrel-cli " << c.name << " " << c.usage << "\n";
    return exitUsage;
}

namespace {

void printUsage(std::ostream& out) {
    out << "usage: ondrel-cli COMMAND [ARGS]\n\ncommands:\n";
    for (const Command& c : commands()) out << "  " << c.name << " " << c.usage << "\n      " << c.summary << "\n";
    out << "\nOptions may be followed by -- so that an argument beginning with \"-\" is taken as it stands.\n"
           "Exit status: 0 done, 1 failed, 2 bad usage.\n";
}

}  // namespace
}  // namespace ondrel::cli

int main(int argc, char** argv) {
    using namespace ondrel::cli;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        printUsage(std::cerr);
        return exitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printUsage(std::cout);
        return exitDone;
    }
    for (const Command& c : commands()) {
        if (c.name == args[0]) return c.run(std::vector<std::string>(args.begin() + 1, args.end()));
    }
    std::cerr << "ondrel-cli: unknown command \"" << args[0] << "\"\n";
    printUsage(std::cerr);
    return exitUsage;
}
