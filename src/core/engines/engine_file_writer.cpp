#include "engines/engine_file_writer.h"

#include <cstdio>
#include <string>
#include <system_error>

#include "engines/engine_definition.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace ondrel {
namespace {

// Opens a file that did not exist before, so two saves never share a temporary file.
std::FILE* createNewFile(const std::filesystem::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wbx");
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

bool flushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
#ifdef _WIN32
    return true;
#else
    return fsync(fileno(file)) == 0;
#endif
}

bool writeWhole(std::FILE* file, std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && flushToDisk(file);
}

// A name beside the target that the engine loader never takes for an engine file.
std::filesystem::path temporarySibling(const std::filesystem::path& path, int attempt) {
    std::filesystem::path temp = path;
    temp += ".saving";
    if (attempt > 0) temp += "-" + std::to_string(attempt);
    return temp;
}

}  // namespace

Bytes engineFileBytes(const std::vector<Text>& values) {
    Bytes bytes;
    for (size_t row = 0; row < size_t(engineLineCount); ++row) {
        if (row < values.size()) bytes += values[row];
        if (row + 1 < size_t(engineLineCount)) bytes += "\r\n";
    }
    return bytes;
}

bool replaceFileContent(const std::filesystem::path& path, std::string_view bytes) {
    constexpr int attempts = 100;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const std::filesystem::path temp = temporarySibling(path, attempt);
        std::FILE* file = createNewFile(temp);
        if (!file) {
            std::error_code error;
            if (std::filesystem::exists(std::filesystem::symlink_status(temp, error))) continue;
            return false;
        }
        const bool written = writeWhole(file, bytes);
        const bool closed = std::fclose(file) == 0;
        std::error_code error;
        if (written && closed) {
            const auto old = std::filesystem::status(path, error);
            if (!error && std::filesystem::exists(old))
                std::filesystem::permissions(temp, old.permissions(), error);
            error.clear();
            std::filesystem::rename(temp, path, error);
            if (!error) return true;
        }
        std::filesystem::remove(temp, error);
        return false;
    }
    return false;
}

}  // namespace ondrel
