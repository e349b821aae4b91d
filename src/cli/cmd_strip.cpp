// ondrel-cli strip: a field as it reaches the result list, with its markup removed.
#include "command.h"
#include "text/html_strip.h"
#include "text_io.h"

namespace ondrel::cli {
namespace {

const TextCommandSyntax syntax{"strip", "[--raw] [--from-utf8] [FILE]", {"--raw", "--from-utf8"}, 0, 1};

int run(const std::vector<std::string>& args) {
    return runPageCommand(args, syntax, 0, [](const TextCommandArgs& parsed, const Text& page) {
        printText(parsed, stripHtml(page));
    });
}

const bool registered = registerCommand(
    {std::string(syntax.name), std::string(syntax.usage),
     "FILE (or stdin) without its script and style blocks, tags and character references, as every\n"
     "      field cut from a detail page is cleaned before it is listed.",
     run});

}  // namespace
}  // namespace ondrel::cli
