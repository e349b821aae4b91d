#include "text_io.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "command.h"
#include "text/codepage.h"

namespace ondrel::cli {
namespace {

void writeBytes(std::string_view bytes) {
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

}  // namespace

std::optional<int> parseTextCommand(const std::vector<std::string>& args, const TextCommandSyntax& syntax,
                                    TextCommandArgs& out) {
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            out.operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            for (const Command& c : commands())
                if (c.name == syntax.name) std::cout << "usage: ondrel-cli " << c.name << " " << c.usage << "\n\n"
                                                     << c.summary << "\n";
            return exitDone;
        } else {
            bool known = false;
            for (std::string_view option : syntax.options) known = known || option == arg;
            if (!known) return usageError(syntax.name, "unknown option \"" + arg + "\"");
            out.options.insert(arg);
        }
    }
    if (out.operands.size() < syntax.minOperands) return usageError(syntax.name, "too few arguments");
    if (out.operands.size() > syntax.maxOperands) return usageError(syntax.name, "too many arguments");
    return std::nullopt;
}

Text argumentText(const TextCommandArgs& args, size_t index) {
    const std::string& arg = args.operands[index];
    return args.has("--raw") ? Text(arg) : utf8ToGbk(arg);
}

std::optional<Text> readPage(const TextCommandArgs& args, size_t index) {
    std::string bytes;
    if (index >= args.operands.size() || args.operands[index] == "-") {
        std::ostringstream all;
        all << std::cin.rdbuf();
        bytes = all.str();
    } else {
        const std::string& path = args.operands[index];
        std::ifstream file(path, std::ios::binary);
        if (file) bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        if (!file || file.bad()) {
            std::cerr << "ondrel-cli: cannot read \"" << path << "\"\n";
            return std::nullopt;
        }
    }
    const Text text = textFromBytes(bytes);
    return args.has("--from-utf8") ? utf8ToGbk(text) : text;
}

int runPageCommand(const std::vector<std::string>& args, const TextCommandSyntax& syntax, size_t pageOperand,
                   const std::function<void(const TextCommandArgs&, const Text& page)>& work) {
    TextCommandArgs parsed;
    if (const auto exit = parseTextCommand(args, syntax, parsed)) return *exit;
    const auto page = readPage(parsed, pageOperand);
    if (!page) return exitFailed;
    work(parsed, *page);
    return exitDone;
}

void printText(const TextCommandArgs& args, const Text& text, std::string_view rawEnd) {
    if (args.has("--raw")) {
        writeBytes(text);
        writeBytes(rawEnd);
    } else {
        writeBytes(gbkToUtf8(text));
        writeBytes("\n");
    }
}

}  // namespace ondrel::cli
