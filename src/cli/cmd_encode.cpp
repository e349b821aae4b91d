// ondrel-cli encode: the keyword as it goes into an engine's search address.
#include "command.h"
#include "text/codepage.h"
#include "text_io.h"

namespace ondrel::cli {
namespace {

const TextCommandSyntax syntax{"encode", "[--raw] [--utf8] [--all] KEYWORD", {"--raw", "--utf8", "--all"}, 1, 1};

int run(const std::vector<std::string>& args) {
    TextCommandArgs parsed;
    if (const auto exit = parseTextCommand(args, syntax, parsed)) return *exit;
    printText(parsed, urlEncode(argumentText(parsed, 0), !parsed.has("--all"), parsed.has("--utf8")));
    return exitDone;
}

const bool registered = registerCommand(
    {std::string(syntax.name), std::string(syntax.usage),
     "The percent-encoded KEYWORD as a search address carries it: from its bytes in the program's\n"
     "      code page, or with --utf8 from its UTF-8 bytes, as for a transcoding engine. --all encodes\n"
     "      letters, digits, \"-\" and \".\" too.",
     run});

}  // namespace
}  // namespace ondrel::cli
