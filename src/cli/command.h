#pragma once
// Each ondrel-cli command lives in a file of its own and registers itself here.
#include <functional>
#include <string>
#include <vector>

namespace ondrel::cli {

enum ExitCode { exitDone = 0, exitFailed = 1, exitUsage = 2 };

struct Command {
    std::string name;
    std::string usage;    // one line: the arguments
    std::string summary;  // what it does, for --help
    std::function<int(const std::vector<std::string>& args)> run;
};

// Called from a static object in each command's file.
bool registerCommand(Command command);
const std::vector<Command>& commands();

}  // namespace ondrel::cli
