// ondrel-cli engines: the engine table in load order, and why a file does not load.
#include <iostream>

#include "command.h"
#include "engine_cli.h"
#include "engines/engine_loader.h"

namespace ondrel::cli {
namespace {

int runEngines(const std::vector<std::string>& args) {
    const auto options = parseEngineOptions(args, "engines", 0, true, false);
    if (!options) return exitUsage;
    const std::vector<EngineFileEntry> entries = inspectEngineFolder(options->conf);
    if (options->json) {
        std::cout << "[";
        for (size_t i = 0; i < entries.size(); ++i) {
            const EngineFileEntry& e = entries[i];
            std::cout << (i ? ",\n " : "") << "{\"engine\":" << (e.loaded ? std::to_string(i + 1) : "null")
                      << ",\"file\":" << jsonString(e.file) << ",\"valid\":" << (e.valid ? "true" : "false")
                      << ",\"name\":" << jsonString(forTerminal(e.engine.name))
                      << ",\"siteUrl\":" << jsonString(forTerminal(e.engine.siteUrl))
                      << ",\"reason\":" << jsonString(e.problem) << "}";
        }
        std::cout << "]\n";
        return exitDone;
    }
    if (entries.empty()) std::cout << "no engine files (*.EG) in " << options->conf.string() << "\n";
    for (size_t i = 0; i < entries.size(); ++i) {
        const EngineFileEntry& e = entries[i];
        std::cout << (e.loaded ? std::to_string(i + 1) : "-") << "  " << e.file << "  ";
        if (e.valid && e.loaded) {
            std::cout << forTerminal(e.engine.name) << "  " << forTerminal(e.engine.siteUrl) << "\n";
        } else {
            std::cout << (e.valid ? "" : "invalid (an empty tab that still gets a worker): ") << e.problem << "\n";
        }
    }
    return exitDone;
}

const bool registered = registerCommand({"engines", "[--conf DIR] [--json]",
                                         "the engine table in load order, with the reason an invalid file does not load",
                                         runEngines});

}  // namespace
}  // namespace ondrel::cli
