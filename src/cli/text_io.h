#pragma once
// What the text commands share: their options, reading a page from a file or stdin, and
// printing results in the terminal's UTF-8 or, with --raw, as the program's own bytes.
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "text/text.h"

namespace ondrel::cli {

struct TextCommandArgs {
    std::set<std::string> options;
    std::vector<std::string> operands;

    bool has(std::string_view option) const { return options.count(std::string(option)) > 0; }
};

struct TextCommandSyntax {
    std::string_view name;
    std::string_view usage;
    std::vector<std::string_view> options;
    size_t minOperands, maxOperands;
};

// Options may stand anywhere before "--"; everything after it is an operand. Returns the exit
// status when the command should end now: 0 after printing --help, 2 (with a message on
// stderr) for an unknown option or a wrong number of operands.
std::optional<int> parseTextCommand(const std::vector<std::string>& args, const TextCommandSyntax& syntax,
                                    TextCommandArgs& out);

// A text argument: typed in UTF-8, or taken byte for byte with --raw.
Text argumentText(const TextCommandArgs& args, size_t index);

// The page in the file named by operand `index`, or stdin when there is no such operand or it
// is "-": taken as text up to its first NUL, converted from UTF-8 first with --from-utf8.
// Nothing, with a message on stderr, when the file cannot be read.
std::optional<Text> readPage(const TextCommandArgs& args, size_t index);

// A command that works on a page: parses `args`, reads the page named by operand
// `pageOperand` and hands both to `work`. Returns the command's exit status.
int runPageCommand(const std::vector<std::string>& args, const TextCommandSyntax& syntax, size_t pageOperand,
                   const std::function<void(const TextCommandArgs&, const Text& page)>& work);

// Writes one result: in UTF-8 followed by a newline, or its bytes and `rawEnd` with --raw.
void printText(const TextCommandArgs& args, const Text& text, std::string_view rawEnd = {});

}  // namespace ondrel::cli
