#include "engines/engine_file.h"

#include <array>

namespace ondrel {
namespace {

// Lines 1 .. 22 of a file in order, as fields of the record (which keeps siteUrl first).
constexpr std::array<Text EngineDefinition::*, engineLineCount> fieldOfLine = {
    &EngineDefinition::name,             &EngineDefinition::siteUrl,
    &EngineDefinition::searchUrlPrefix,  &EngineDefinition::searchUrlSuffix,
    &EngineDefinition::pageCountPrefix,  &EngineDefinition::pageCountSuffix,
    &EngineDefinition::pageUrlPrefix,    &EngineDefinition::pageUrlSuffix,
    &EngineDefinition::detailLinkPrefix, &EngineDefinition::detailLinkSuffix,
    &EngineDefinition::titlePrefix,      &EngineDefinition::titleSuffix,
    &EngineDefinition::sizePrefix,       &EngineDefinition::sizeSuffix,
    &EngineDefinition::fileCountPrefix,  &EngineDefinition::fileCountSuffix,
    &EngineDefinition::datePrefix,       &EngineDefinition::dateSuffix,
    &EngineDefinition::magnetPrefix,     &EngineDefinition::magnetSuffix,
    &EngineDefinition::transcodeSearchPage, &EngineDefinition::transcodeDetailPage,
};

// The line ends of a text as the splitter sees them: CR LF pairs, and CR or LF bytes that
// stand alone (outside double-byte characters) and are therefore ordinary text.
struct LineEndCounts {
    int crlf = 0;
    int loneLf = 0;
    int loneCr = 0;
    int firstLoneLine = 0;  // the line (from 1) that holds the first lone CR or LF
};

LineEndCounts countLineEnds(std::string_view text) {
    LineEndCounts counts;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if (isLeadByte(b)) {
            ++i;
        } else if (b == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++counts.crlf;
            ++i;
        } else if (b == '\r' || b == '\n') {
            ++(b == '\r' ? counts.loneCr : counts.loneLf);
            if (!counts.firstLoneLine) counts.firstLoneLine = counts.crlf + 1;
        }
    }
    return counts;
}

std::string lineCountWords(size_t n) { return std::to_string(n) + (n == 1 ? " line" : " lines"); }

std::string lineEndTrouble(const LineEndCounts& ends) {
    const char* kind = ends.loneLf && ends.loneCr ? "LF or CR" : ends.loneLf ? "LF" : "CR";
    if (ends.crlf == 0) return std::string("line ends are ") + kind + ", not CR LF";
    return std::string("some line ends are ") + kind + " alone, not CR LF, and do not end a line (the first in line " +
           std::to_string(ends.firstLoneLine) + ")";
}

}  // namespace

std::vector<Text> splitEngineLines(std::string_view text) {
    std::vector<Text> lines;
    Text piece;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (isLeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size()) {
            piece.append(text.substr(i, 2));
            ++i;
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            lines.push_back(std::move(piece));
            piece.clear();
            ++i;
        } else {
            piece.push_back(c);
        }
    }
    if (!piece.empty()) lines.push_back(std::move(piece));
    return lines;
}

std::optional<EngineDefinition> parseEngineFile(std::string_view bytes) {
    std::vector<Text> lines = splitEngineLines(textFromBytes(bytes));
    if (lines.size() != size_t(engineLineCount)) return std::nullopt;
    EngineDefinition engine;
    for (size_t i = 0; i < lines.size(); ++i) engine.*fieldOfLine[i] = std::move(lines[i]);
    return engine;
}

std::string engineFileProblem(std::string_view bytes) {
    if (bytes.empty()) return "the file is empty";
    const Text text = textFromBytes(bytes);
    if (text.empty()) return "the file begins with a NUL byte, so it holds no text";
    const size_t n = splitEngineLines(text).size();
    if (n == size_t(engineLineCount)) return {};

    const LineEndCounts ends = countLineEnds(text);
    const bool endsWithCrlf = text.ends_with("\r\n");
    std::string why;
    if (ends.loneLf || ends.loneCr) {
        why = lineEndTrouble(ends);
    } else if (n == size_t(engineLineCount) - 1 && endsWithCrlf) {
        why = "the last line is empty and has no line end after it";
    } else if (n == size_t(engineLineCount) + 1 && text.ends_with("\r\n\r\n")) {
        why = "an empty 23rd line: the file ends with one line end too many";
    } else {
        why = std::to_string(engineLineCount) + " are needed";
    }
    std::string problem = lineCountWords(n) + ": " + why;
    if (text.size() < bytes.size()) {
        problem += " (the text ends at a NUL byte at offset " + std::to_string(text.size()) + ")";
    }
    return problem;
}

}  // namespace ondrel
