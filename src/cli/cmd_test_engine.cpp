// ondrel-cli test-engine: one engine's run shown step by step, for whoever writes engine files.
#include <cstdio>
#include <iostream>

#include "command.h"
#include "engine_cli.h"
#include "engines/engine_loader.h"
#include "search/engine_diagnosis.h"
#include "search/search_engine.h"
#include "search/fixed_keyword.h"

namespace ondrel::cli {
namespace {

class NoLists : public ResultLists {
public:
    void clearList(int, SearchId) override {}
    void appendRow(int, int, const ResultRow&, SearchId) override {}
};

const char* kindName(RequestKind kind) {
    switch (kind) {
        case RequestKind::site: return "site address (fetched, not used)";
        case RequestKind::searchPage: return "search page";
        case RequestKind::resultPage: return "result page";
        case RequestKind::detailPage: return "detail page";
    }
    return "";
}

// A value in quotes, its line breaks and tabs written as C escapes so every value stays on one line.
std::string quoted(const Text& text) {
    std::string out = "\"";
    for (const char c : forTerminal(text)) {
        out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : c == '\t' ? std::string("\\t") : std::string(1, c);
    }
    return out + "\"";
}

// One run, requests one after another, so the steps print in the order they happen.
class StepPrinter : public SearchObserver {
public:
    explicit StepPrinter(const EngineDefinition& engine) : engine_(engine) {}

    void keywordEncoded(const Text& keyword, const Text& encoded) override {
        std::cout << "keyword " << quoted(keyword) << " encoded from its "
                  << (switchOn(engine_.transcodeSearchPage) ? "UTF-8" : "GBK") << " bytes: " << encoded << "\n";
    }

    void fetched(RequestKind kind, const Text& url, const FetchResult& result) override {
        ++requests_;
        char timing[32];
        std::snprintf(timing, sizeof timing, "%.0f ms", result.seconds * 1000);
        std::cout << "\nGET " << forTerminal(url) << "\n    " << kindName(kind) << ": ";
        if (result.status == 0) {
            std::cout << "no response (" << timing << ")\n";
        } else {
            std::cout << "status " << result.status << ", " << result.body.size() << " bytes, " << timing << "\n";
        }
    }

    void pageCount(const Text& page, const Text& countText, int pages) override {
        std::cout << "    page count between " << quoted(engine_.pageCountPrefix) << " and "
                  << quoted(engine_.pageCountSuffix) << ": ";
        if (countText.empty()) {
            std::cout << "nothing (" << forTerminal(whyNothingBetween(page, engine_.pageCountPrefix, engine_.pageCountSuffix))
                      << "), so 5 pages are fetched\n";
        } else {
            std::cout << quoted(countText) << " -> " << pages << (pages == 1 ? " result page" : " result pages") << "\n";
        }
    }

    void links(int page, const Text& text, const std::vector<Text>& links) override {
        std::cout << "    " << links.size() << " detail links on result page " << page;
        if (links.empty()) {
            std::cout << " (" << forTerminal(whyNothingBetween(text, engine_.detailLinkPrefix, engine_.detailLinkSuffix))
                      << ")\n";
            return;
        }
        std::cout << ":\n";
        for (size_t i = 0; i < links.size(); ++i) {
            const Text url = detailPageUrl(engine_, links[i]);
            std::cout << "      " << page << "." << i + 1 << "  " << forTerminal(links[i]);
            if (url != links[i]) std::cout << "  ->  " << forTerminal(url);
            std::cout << "\n";
        }
    }

    void detail(int page, int index, const Text&, const Text& text, const ResultRow& row, bool accepted) override {
        std::cout << "    detail " << page << "." << index + 1 << "\n"
                  << "      title:      " << quoted(row.title) << "\n"
                  << "      size:       " << quoted(row.size) << "\n"
                  << "      file count: " << quoted(row.fileCount) << "\n"
                  << "      date:       " << quoted(row.date) << "\n"
                  << "      magnet:     " << quoted(row.magnetLink) << "\n";
        if (accepted) {
            std::cout << "      -> row " << rows_ << (rows_ <= 5 ? " (also in the combined list)" : "") << "\n";
            ++rows_;
        } else {
            std::cout << "      -> no row: "
                      << forTerminal(whyNoRow(text, row.title, row.magnetLink, engine_.titlePrefix, engine_.titleSuffix,
                                              engine_.magnetPrefix, engine_.magnetSuffix))
                      << "\n";
        }
    }

    int requests() const { return requests_; }
    int rows() const { return rows_; }

private:
    const EngineDefinition& engine_;
    int requests_ = 0;
    int rows_ = 0;
};

// The entry an ENGINE argument names: its number, its file name, or its name.
const EngineFileEntry* findEngine(const std::vector<EngineFileEntry>& entries, const std::string& which) {
    if (!which.empty() && which.find_first_not_of("0123456789") == std::string::npos) {
        const size_t n = std::stoul(which);
        return n >= 1 && n <= entries.size() ? &entries[n - 1] : nullptr;
    }
    for (const EngineFileEntry& e : entries) {
        if (e.file == which || (e.valid && forTerminal(e.engine.name) == which)) return &e;
    }
    return nullptr;
}

int runTestEngine(const std::vector<std::string>& args) {
    const auto options = parseEngineOptions(args, "test-engine", 2, false, false);
    if (!options) return exitUsage;
    const std::vector<EngineFileEntry> entries = inspectEngineFolder(options->conf);
    const EngineFileEntry* entry = findEngine(entries, options->operands[0]);
    if (!entry) {
        std::cerr << "ondrel-cli test-engine: no engine " << options->operands[0] << " in " << options->conf.string()
                  << " (give its number, file name or name; see ondrel-cli engines)\n";
        return exitFailed;
    }
    std::cout << "engine file " << entry->file;
    if (entry->valid) {
        std::cout << ": " << quoted(entry->engine.name) << ", site " << forTerminal(entry->engine.siteUrl) << "\n";
    } else {
        std::cout << " is invalid (" << entry->problem << "); the program still runs it with every line empty\n";
    }
    std::cout << "search and result pages " << (switchOn(entry->engine.transcodeSearchPage) ? "" : "not ")
              << "converted from UTF-8, detail pages " << (switchOn(entry->engine.transcodeDetailPage) ? "" : "not ")
              << "converted\n";

    FixedKeyword keyword(fromTerminal(options->operands[1]));
    NoLists lists;
    StepPrinter printer(entry->engine);
    EngineRun run;
    run.engine = &entry->engine;
    run.lists = &lists;
    run.keyword = &keyword;
    run.search = 1;
    run.jobs = 1;
    run.observer = &printer;
    searchEngine(run);
    std::cout << "\n" << printer.requests() << " requests, " << printer.rows() << (printer.rows() == 1 ? " row" : " rows")
              << "\n";
    return exitDone;
}

const bool registered = registerCommand(
    {"test-engine", "[--conf DIR] ENGINE KEYWORD",
     "one engine (its number, file name or name), step by step: every address fetched with its status, size and "
     "time, the page count, the links of each page, the five fields of each detail page and why a page gave no row",
     runTestEngine});

}  // namespace
}  // namespace ondrel::cli
