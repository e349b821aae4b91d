#pragma once
// Reading one engine file: 22 lines of the program's text separated by CR LF.
#include <optional>
#include <string_view>
#include <vector>

#include "engines/engine_definition.h"

namespace ondrel {

// The lines of an engine file's text. Every piece followed by CR LF is a line, even an empty
// one; the piece after the last CR LF is a line only when it is not empty. A lone CR or LF is
// ordinary text, and a double-byte character is stepped over whole, so its second byte never
// starts a line end.
std::vector<Text> splitEngineLines(std::string_view text);

// The engine a file's bytes describe (its text up to the first NUL byte), or nothing when the
// text does not have exactly 22 lines. Lines are taken as they are: no trimming, no unescaping.
std::optional<EngineDefinition> parseEngineFile(std::string_view bytes);

// Why a file's bytes do not make an engine, in plain words for the person who wrote the file;
// empty when they do.
std::string engineFileProblem(std::string_view bytes);

}  // namespace ondrel
