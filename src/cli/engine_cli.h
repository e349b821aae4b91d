#pragma once
// What the engine commands (search, engines, check, test-engine) share: their options, the
// terminal's UTF-8 at the edges, and JSON strings.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "text/text.h"

namespace ondrel::cli {

struct EngineOptions {
    std::filesystem::path conf = "conf";
    bool json = false;
    int jobs = 6;
    std::vector<std::string> operands;
};

// Reads --conf DIR, --json (when `jsonAllowed`), --jobs N (when `jobsAllowed`) and "--";
// everything else is an operand. Gives nothing, after a message on stderr, on bad usage or
// when the number of operands is not `operandCount`.
std::optional<EngineOptions> parseEngineOptions(const std::vector<std::string>& args, const std::string& command,
                                                size_t operandCount, bool jsonAllowed, bool jobsAllowed);

// The program's text for the terminal, and a terminal argument as the program's text.
std::string forTerminal(const Text& text);
Text fromTerminal(const std::string& utf8);

// A JSON string literal of UTF-8 text.
std::string jsonString(const std::string& utf8);

}  // namespace ondrel::cli
