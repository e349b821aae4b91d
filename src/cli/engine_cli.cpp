#include "engine_cli.h"

#include <cstdio>

#include "command.h"
#include "text/codepage.h"

namespace ondrel::cli {

std::optional<EngineOptions> parseEngineOptions(const std::vector<std::string>& args, const std::string& command,
                                                size_t operandCount, bool jsonAllowed, bool jobsAllowed) {
    EngineOptions options;
    const auto usage = [&](const std::string& message) {
        usageError(command, message);
        return std::nullopt;
    };
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            options.operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--conf" && i + 1 < args.size()) {
            options.conf = args[++i];
        } else if (arg == "--json" && jsonAllowed) {
            options.json = true;
        } else if (arg == "--jobs" && jobsAllowed && i + 1 < args.size()) {
            const std::string& value = args[++i];
            size_t used = 0;
            int jobs = 0;
            try {
                jobs = std::stoi(value, &used);
            } catch (const std::exception&) {
                used = 0;
            }
            if (used != value.size() || jobs < 1) return usage("--jobs needs a whole number of 1 or more");
            options.jobs = jobs;
        } else {
            return usage("unknown option or missing value: " + arg);
        }
    }
    if (options.operands.size() != operandCount) return usage("wrong number of arguments");
    return options;
}

std::string forTerminal(const Text& text) { return gbkToUtf8(text); }

Text fromTerminal(const std::string& utf8) { return utf8ToGbk(utf8); }

std::string jsonString(const std::string& utf8) {
    std::string out = "\"";
    for (const unsigned char c : utf8) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += char(c);
                }
        }
    }
    return out + "\"";
}

}  // namespace ondrel::cli
