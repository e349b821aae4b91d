#pragma once
// Writing engine files: the byte shape the settings window gives a definition, and a whole-file
// write that never leaves a file empty or cut short.
#include <filesystem>
#include <string_view>
#include <vector>

#include "text/text.h"

namespace ondrel {

// The 22 values as file bytes: values 0 .. 20 each followed by "\r\n", value 21 with no line
// end after it. Missing values count as empty, values after the 22nd are dropped. An empty
// last value therefore leaves the file with 21 lines, which the loader does not accept.
Bytes engineFileBytes(const std::vector<Text>& values);

// Makes `bytes` the whole content of `path`. The bytes go into a new file beside it, which is
// flushed to the disk and then renamed over the old one, so a failed or interrupted write
// leaves the old file (or its absence) as it was. An existing file keeps its permissions.
// False when the content could not be written; no temporary file is left behind then.
bool replaceFileContent(const std::filesystem::path& path, std::string_view bytes);

}  // namespace ondrel
