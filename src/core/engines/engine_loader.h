#pragma once
// Finding the engine files of the conf folder and loading them into the engine table.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engines/engine_definition.h"

namespace ondrel {

// Whether `name` matches a wildcard pattern: "*" any run of characters, "?" one character,
// the 26 ASCII letters in either case.
bool matchesWildcard(std::string_view name, std::string_view pattern);

// The names of the non-folder entries of `folder` (hidden ones included) that match `pattern`,
// with the folder and a separator in front when `withFolder`. They come sorted by name with
// letter case ignored, the way the file systems the engine files come from list a folder, so
// a conf folder shows the same tabs in the same order on every machine. A missing or
// unreadable folder gives no names.
std::vector<std::string> listMatchingFiles(const std::filesystem::path& folder, std::string_view pattern,
                                           bool withFolder);

// One engine file of the conf folder as the loader saw it.
struct EngineFileEntry {
    std::string file;          // the name within the folder
    bool valid = false;        // the file has exactly 22 lines
    bool loaded = false;       // it has a place in the table (only the first 98 files do)
    std::string problem;       // why the file does not load, in plain words; empty when it does
    EngineDefinition engine;   // all fields empty when the file is not valid
};

inline constexpr std::string_view engineFilePattern = "*.EG";

// Every engine file of `confFolder` in load order, with what became of it.
std::vector<EngineFileEntry> inspectEngineFolder(const std::filesystem::path& confFolder);

// The engine table: one record per engine file in load order, an invalid file keeping its
// place with every field empty. Files beyond the 98 the window can show are left out.
EngineTable loadEngineTable(const std::filesystem::path& confFolder);

}  // namespace ondrel
