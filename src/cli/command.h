#pragma once
// Each ondrel-cli command lives in a file of its own and registers itself here.
#include <functional>
#include <string>
#include <string_view>
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

// Tells on stderr what was wrong with a command's arguments, then the command's usage line;
// gives the exit code for bad usage.
int usageError(std::string_view command, const std::string& message);

}  // namespace ondrel::cli
