#include "engines/file_bytes.h"

#include <fstream>

namespace ondrel {

std::optional<Bytes> readEngineFileBytes(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::is_regular_file(status)) return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > maxEngineFileBytes) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    Bytes bytes;
    bytes.reserve(size_t(size));
    char buffer[1 << 16];
    // Stops at the limit even when the file grows while it is read.
    while (bytes.size() <= maxEngineFileBytes && (in.read(buffer, sizeof buffer) || in.gcount() > 0))
        bytes.append(buffer, size_t(in.gcount()));
    if (in.bad() || bytes.size() > maxEngineFileBytes) return std::nullopt;
    return bytes;
}

}  // namespace ondrel
