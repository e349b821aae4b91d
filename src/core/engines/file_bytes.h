#pragma once
// Reading the files of the conf folder whole, without being held up by what is not a file.
#include <cstdint>
#include <filesystem>
#include <optional>

#include "text/text.h"

namespace ondrel {

// No engine file comes near this size; a larger one is not read at all, so one stray file in
// the folder cannot exhaust memory at start-up.
inline constexpr std::uintmax_t maxEngineFileBytes = 64u << 20;

// The whole content of a regular file (a link is followed), or nothing for a pipe, a device,
// a socket, a folder, a missing or unreadable file, or one above maxEngineFileBytes. Pipes and
// devices are never opened: a pipe nobody writes to blocks its reader for ever, and a device
// such as /dev/zero never ends.
std::optional<Bytes> readEngineFileBytes(const std::filesystem::path& path);

}  // namespace ondrel
