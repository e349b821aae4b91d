#pragma once
// Which names and paths an engine file may have, and whether a name is already taken in the
// engine folder. Names are file-system paths, not program text: the user's typed name becomes
// a file name, and the checks look only at ASCII characters, which never occur inside a
// multi-byte character of a path's encoding.
#include <filesystem>
#include <string_view>

namespace ondrel {

// The nine characters no engine file name may hold.
inline constexpr std::string_view forbiddenNameChars = "?/\\<>*|:\"";

inline constexpr std::string_view engineFileExtension = ".EG";

// A name the add and rename commands may turn into conf / (name + ".EG"): not empty, not "."
// or "..", and free of path separators, NUL and the forbidden characters, so the file always
// lands inside the engine folder.
bool isAcceptableEngineName(const std::filesystem::path& name);

// The final guard before a rename: an absolute path (on Windows one that starts with a drive
// letter and ":\" or ":/") whose file-name part, the text after its last "\", "/" or ":", is
// not empty and holds no forbidden character.
bool isAcceptableEnginePath(const std::filesystem::path& path);

// conf / (name + ".EG"), the file the add and rename commands make for a typed name.
std::filesystem::path engineFilePath(const std::filesystem::path& confFolder,
                                     const std::filesystem::path& name);

// Whether the folder holds an entry (file, folder or link) with this file name, letter case
// ignored, so that "ABC.eg" counts as taken by "abc.EG" on every file system.
bool engineFolderHolds(const std::filesystem::path& confFolder, const std::filesystem::path& fileName);

}  // namespace ondrel
