// ondrel-cli strip: a field as it reaches the result list, with its markup removed.
#include "command.h"
#include "text/html_strip.h"
#include "text_io.h"

namespace ondrel::cli {
namespace {

const TextCommandSyntax syntax{"strip", "[--raw] [--from-utf8] [FILE]", {"--raw", "--from-utf8"}, 0, 1};

int run(const std::vector<std::string>& args) {
    TextCommandArgs parsed;
    if (const auto exit = parseTextCommand(args, syntax, parsed)) return *exit;
    const auto page = readPage(parsed, 0);
    if (!page) return exitFailed;
    printText(parsed, stripHtml(*page));
    return exitDone;
}

const bool registered = registerCommand(
    {std::string(syntax.name), std::string(syntax.usage),
     "FILE (or stdin) without its script and style blocks, tags and character references, as every\n"
     "      field cut from a detail page is cleaned before it is listed.",
     run});

}  // namespace
}  // namespace ondrel::cli
