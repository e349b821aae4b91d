// ondrel-cli all-between: every value a prefix and suffix cut out of a saved page, such as the
// detail links of a result page.
#include "command.h"
#include "text/extract.h"
#include "text_io.h"

namespace ondrel::cli {
namespace {

const TextCommandSyntax syntax{"all-between", "[--raw] [--from-utf8] PREFIX SUFFIX [FILE]", {"--raw", "--from-utf8"}, 2, 3};

int run(const std::vector<std::string>& args) {
    return runPageCommand(args, syntax, 2, [](const TextCommandArgs& parsed, const Text& page) {
        std::vector<Text> pieces;
        allTextsBetween(page, argumentText(parsed, 0), argumentText(parsed, 1), pieces);
        // A NUL cannot occur in a piece, so it separates raw pieces that may hold line breaks.
        for (const Text& piece : pieces) printText(parsed, piece, std::string_view("\0", 1));
    });
}

const bool registered = registerCommand(
    {std::string(syntax.name), std::string(syntax.usage),
     "Every value between PREFIX and SUFFIX in FILE (or stdin), in page order, one per line, as an\n"
     "      engine file's detail-link prefix and suffix collect them from a saved result page; each\n"
     "      search for PREFIX starts right after the previous one. --raw: each value's bytes followed\n"
     "      by a NUL byte.",
     run});

}  // namespace
}  // namespace ondrel::cli
