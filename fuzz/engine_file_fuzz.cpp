// The engine-file parser on any bytes: no crash, and the two readings agree. A file is an
// engine exactly when no problem is reported for it, it has 22 lines, and each field is the
// line of the file in its place.
#include <cstdlib>

#include "engines/engine_file.h"

using namespace ondrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Text text = textFromBytes(bytes);
    const std::vector<Text> lines = splitEngineLines(text);
    const std::optional<EngineDefinition> engine = parseEngineFile(bytes);
    const std::string problem = engineFileProblem(bytes);
    if (engine.has_value() != problem.empty()) abort();
    if (engine.has_value() != (lines.size() == size_t(engineLineCount))) abort();
    // The lines and the CR LFs between them make up the whole text: nothing is lost or added
    // (a CR LF after a lead byte belongs to that character, so it may stay inside a line).
    size_t total = 0;
    for (const Text& line : lines) total += line.size() + 2;
    if (!lines.empty() && total != text.size() && total - 2 != text.size()) abort();
    if (lines.empty() && !text.empty()) abort();
    if (engine && (engine->name != lines[0] || engine->siteUrl != lines[1] || engine->searchUrlPrefix != lines[2] ||
                   engine->transcodeDetailPage != lines[21]))
        abort();
    return 0;
}
