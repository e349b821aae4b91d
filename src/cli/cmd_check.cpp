// ondrel-cli check: whether each engine's site answers.
#include <iostream>

#include "check/check_engines.h"
#include "command.h"
#include "engine_cli.h"
#include "engines/engine_loader.h"

namespace ondrel::cli {
namespace {

int runCheck(const std::vector<std::string>& args) {
    const auto options = parseEngineOptions(args, "check", 0, true, false);
    if (!options) return exitUsage;
    const EngineTable engines = loadEngineTable(options->conf);
    std::vector<Text> sites;
    for (int i = 1; i <= engines.count(); ++i) sites.push_back(engines.engine(i).siteUrl);

    std::vector<std::string> rows;
    checkEngines(sites, [&](int row, const Text& state) {
        const EngineDefinition& e = engines.engine(row + 1);
        if (options->json) {
            rows.push_back("{\"engine\":" + std::to_string(row + 1) + ",\"name\":" + jsonString(forTerminal(e.name)) +
                           ",\"siteUrl\":" + jsonString(forTerminal(e.siteUrl)) +
                           ",\"state\":" + jsonString(forTerminal(state)) + "}");
        } else {
            std::cout << row + 1 << "  " << forTerminal(e.name) << "  " << forTerminal(e.siteUrl) << "  "
                      << forTerminal(state) << std::endl;
        }
    });
    if (options->json) {
        std::cout << "[";
        for (size_t i = 0; i < rows.size(); ++i) std::cout << (i ? ",\n " : "") << rows[i];
        std::cout << "]\n";
    }
    return exitDone;
}

const bool registered = registerCommand(
    {"check", "[--conf DIR] [--json]", "the engine check: each engine's site requested directly, one after another",
     runCheck});

}  // namespace
}  // namespace ondrel::cli
