#include "engines/engine_names.h"

#include <string>
#include <system_error>

#include "text/text.h"

namespace ondrel {
namespace {

// The path's characters as UTF-8 on Windows and as the native bytes elsewhere: in both every
// ASCII byte is the ASCII character itself.
std::string asciiComparable(const std::filesystem::path& path) {
    auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

bool holdsForbiddenChar(std::string_view s) {
    return s.find_first_of(forbiddenNameChars) != std::string_view::npos;
}

#ifdef _WIN32
bool startsLikeAbsoluteWindowsPath(const std::string& s) {
    if (s.empty()) return false;
    const char first = upperAscii(s.front());
    return first >= 'A' && first <= 'Z' &&
           (s.find(":\\") != std::string::npos || s.find(":/") != std::string::npos);
}
#endif

}  // namespace

bool isAcceptableEngineName(const std::filesystem::path& name) {
    const std::string s = asciiComparable(name);
    return !s.empty() && s != "." && s != ".." && s.find('\0') == std::string::npos &&
           !holdsForbiddenChar(s);
}

bool isAcceptableEnginePath(const std::filesystem::path& path) {
    const std::string s = asciiComparable(path);
#ifdef _WIN32
    if (!startsLikeAbsoluteWindowsPath(s)) return false;
#else
    if (!path.is_absolute()) return false;
#endif
    const size_t lastSeparator = s.find_last_of("\\/:");
    const std::string_view fileName =
        lastSeparator == std::string::npos ? std::string_view(s) : std::string_view(s).substr(lastSeparator + 1);
    return !fileName.empty() && !holdsForbiddenChar(fileName);
}

std::filesystem::path engineFilePath(const std::filesystem::path& confFolder,
                                     const std::filesystem::path& name) {
    std::filesystem::path fileName = name;
    fileName += engineFileExtension;
    return confFolder / fileName;
}

bool engineFolderHolds(const std::filesystem::path& confFolder, const std::filesystem::path& fileName) {
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(confFolder / fileName, error))) return true;
    const std::string wanted = lowerAsciiText(asciiComparable(fileName));
    for (std::filesystem::directory_iterator it(confFolder, error), end; !error && it != end; it.increment(error)) {
        if (lowerAsciiText(asciiComparable(it->path().filename())) == wanted) return true;
    }
    return false;
}

}  // namespace ondrel
