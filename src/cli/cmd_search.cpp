// ondrel-cli search: every engine of the conf folder searched as the search button does.
#include <iostream>
#include <mutex>

#include "command.h"
#include "engine_cli.h"
#include "engines/engine_loader.h"
#include "search/search_dispatch.h"
#include "search/fixed_keyword.h"

namespace ondrel::cli {
namespace {

// Prints each engine's rows as they are accepted; the combined list repeats them, so it is
// not printed.
class PrintedRows : public ResultLists {
public:
    PrintedRows(const EngineTable& engines, bool json) : engines_(engines), json_(json) {}

    void clearList(int, SearchId) override {}

    void appendRow(int list, int row, const ResultRow& cells, SearchId) override {
        if (list == 0) return;
        const std::string name = forTerminal(engines_.engine(list).name);
        std::lock_guard lock(mutex_);
        if (json_) {
            std::cout << "{\"engine\":" << list << ",\"engineName\":" << jsonString(name) << ",\"row\":" << row
                      << ",\"title\":" << jsonString(forTerminal(cells.title))
                      << ",\"size\":" << jsonString(forTerminal(cells.size))
                      << ",\"fileCount\":" << jsonString(forTerminal(cells.fileCount))
                      << ",\"date\":" << jsonString(forTerminal(cells.date))
                      << ",\"magnetLink\":" << jsonString(forTerminal(cells.magnetLink)) << "}\n";
        } else {
            std::cout << "[" << list << " " << name << "] " << row << "  " << oneLine(cells.title) << "\n    "
                      << forTerminal(cells.size) << " | " << forTerminal(cells.fileCount) << " | "
                      << forTerminal(cells.date) << " | " << forTerminal(cells.magnetLink) << "\n";
        }
        std::cout.flush();
    }

private:
    // A title over several lines, on one line of the terminal.
    static std::string oneLine(const Text& text) {
        std::string out = forTerminal(text);
        for (char& c : out) {
            if (c == '\r' || c == '\n') c = ' ';
        }
        return out;
    }

    const EngineTable& engines_;
    const bool json_;
    std::mutex mutex_;
};

int runSearch(const std::vector<std::string>& args) {
    const auto options = parseEngineOptions(args, "search", 1, true, true);
    if (!options) return exitUsage;
    const EngineTable engines = loadEngineTable(options->conf);
    if (engines.count() == 0) {
        std::cerr << "ondrel-cli search: no engine files (*.EG) in " << options->conf.string() << "\n";
        return exitFailed;
    }
    FixedKeyword keyword(fromTerminal(options->operands[0]));
    PrintedRows rows(engines, options->json);
    SearchDispatcher dispatcher(engines, rows, keyword, options->jobs);
    dispatcher.startSearch();
    dispatcher.waitForWorkers();
    if (!options->json) {
        std::cerr << dispatcher.resultCount() << " results from " << dispatcher.startedWorkers() << " engines\n";
    }
    return exitDone;
}

const bool registered = registerCommand(
    {"search", "[--conf DIR] [--jobs N] [--json] KEYWORD",
     "searches every engine of DIR (default ./conf); rows as they are accepted; --jobs: requests in flight per "
     "engine (default 6, 1 = one after another)",
     runSearch});

}  // namespace
}  // namespace ondrel::cli
