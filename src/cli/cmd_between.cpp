// ondrel-cli between: what an engine's prefix and suffix cut out of a saved page.
#include "command.h"
#include "text/extract.h"
#include "text_io.h"

namespace ondrel::cli {
namespace {

const TextCommandSyntax syntax{"between", "[--raw] [--from-utf8] PREFIX SUFFIX [FILE]", {"--raw", "--from-utf8"}, 2, 3};

int run(const std::vector<std::string>& args) {
    return runPageCommand(args, syntax, 2, [](const TextCommandArgs& parsed, const Text& page) {
        printText(parsed, textBetween(page, argumentText(parsed, 0), argumentText(parsed, 1)));
    });
}

const bool registered = registerCommand(
    {std::string(syntax.name), std::string(syntax.usage),
     "The value between the first PREFIX and the SUFFIX after it in FILE (or stdin), as an engine\n"
     "      file's prefix and suffix cut it out of a saved page; \"#引号\" stands for a double quote.\n"
     "      --from-utf8: the page is UTF-8, as for a transcoding engine. --raw: arguments and output\n"
     "      are the program's own text bytes, with no newline added.",
     run});

}  // namespace
}  // namespace ondrel::cli
