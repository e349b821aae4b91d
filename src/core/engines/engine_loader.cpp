#include "engines/engine_loader.h"

#include <algorithm>

#include "app/event_pump.h"
#include "engines/engine_file.h"
#include "engines/file_bytes.h"

namespace ondrel {
namespace {

// Names compare with the ASCII letters upper-cased, as the upper-casing file systems order
// them ("_" after the letters); names that differ only in case keep a fixed order.
bool listedBefore(const std::string& a, const std::string& b) {
    const auto folded = [](unsigned char x, unsigned char y) {
        return static_cast<unsigned char>(upperAscii(char(x))) < static_cast<unsigned char>(upperAscii(char(y)));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded)) return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded)) return false;
    return a < b;
}

}  // namespace

bool matchesWildcard(std::string_view name, std::string_view pattern) {
    // Greedy matching with one backtrack point: the last "*" seen.
    size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || upperAscii(pattern[p]) == upperAscii(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::vector<std::string> listMatchingFiles(const std::filesystem::path& folder, std::string_view pattern,
                                           bool withFolder) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error), end;
    for (; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (it->is_directory(typeError)) continue;
        std::string name = it->path().filename().string();
        if (matchesWildcard(name, pattern)) names.push_back(std::move(name));
        pumpPendingMessages();
    }
    std::sort(names.begin(), names.end(), listedBefore);
    if (withFolder) {
        std::string prefix = folder.string();
        if (prefix.empty() || prefix.back() != std::filesystem::path::preferred_separator) {
            prefix += std::filesystem::path::preferred_separator;
        }
        for (std::string& name : names) name.insert(0, prefix);
    }
    return names;
}

std::vector<EngineFileEntry> inspectEngineFolder(const std::filesystem::path& confFolder) {
    std::vector<EngineFileEntry> entries;
    for (const std::string& file : listMatchingFiles(confFolder, engineFilePattern, false)) {
        EngineFileEntry entry;
        entry.file = file;
        entry.loaded = entries.size() < size_t(maxEngineCount);
        const std::optional<Bytes> bytes = readEngineFileBytes(confFolder / file);
        if (!bytes) {
            entry.problem = "the file cannot be read: it is not a plain file, or it is larger than " +
                            std::to_string(maxEngineFileBytes >> 20) + " MiB, or reading it failed";
        } else if (auto engine = parseEngineFile(*bytes)) {
            entry.valid = true;
            entry.engine = std::move(*engine);
        } else {
            entry.problem = engineFileProblem(*bytes);
        }
        if (!entry.loaded) {
            entry.problem = "not loaded: the window has room for " + std::to_string(maxEngineCount) +
                            " engines and this is file " + std::to_string(entries.size() + 1);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

EngineTable loadEngineTable(const std::filesystem::path& confFolder) {
    std::vector<EngineDefinition> engines;
    for (EngineFileEntry& entry : inspectEngineFolder(confFolder)) {
        if (entry.loaded) engines.push_back(std::move(entry.engine));
    }
    return EngineTable(std::move(engines));
}

}  // namespace ondrel
