#include "engines/engine_settings.h"

#include <system_error>

#include "engines/engine_definition.h"
#include "engines/engine_file.h"
#include "engines/engine_file_writer.h"
#include "engines/engine_names.h"
#include "engines/file_bytes.h"

namespace ondrel {
namespace {

// 引擎名字,搜索引擎URL,搜索页前缀,搜索页后缀,总页数前缀,总页数后缀,详情页前缀,详情页后缀,分页前缀,
// 分页后缀,资源名前缀,资源名后缀,大小前缀,大小后缀,文件数前缀,文件数后缀,日期前缀,日期后缀,磁力链前缀,
// 磁力链后缀,搜索页是否转码,详情页是否转码
constexpr std::string_view labelsText =
    "\xD2\xFD\xC7\xE6\xC3\xFB\xD7\xD6,\xCB\xD1\xCB\xF7\xD2\xFD\xC7\xE6URL,\xCB\xD1\xCB\xF7\xD2\xB3\xC7\xB0"
    "\xD7\xBA,\xCB\xD1\xCB\xF7\xD2\xB3\xBA\xF3\xD7\xBA,\xD7\xDC\xD2\xB3\xCA\xFD\xC7\xB0\xD7\xBA,\xD7\xDC\xD2"
    "\xB3\xCA\xFD\xBA\xF3\xD7\xBA,\xCF\xEA\xC7\xE9\xD2\xB3\xC7\xB0\xD7\xBA,\xCF\xEA\xC7\xE9\xD2\xB3\xBA\xF3"
    "\xD7\xBA,\xB7\xD6\xD2\xB3\xC7\xB0\xD7\xBA,\xB7\xD6\xD2\xB3\xBA\xF3\xD7\xBA,\xD7\xCA\xD4\xB4\xC3\xFB\xC7"
    "\xB0\xD7\xBA,\xD7\xCA\xD4\xB4\xC3\xFB\xBA\xF3\xD7\xBA,\xB4\xF3\xD0\xA1\xC7\xB0\xD7\xBA,\xB4\xF3\xD0\xA1"
    "\xBA\xF3\xD7\xBA,\xCE\xC4\xBC\xFE\xCA\xFD\xC7\xB0\xD7\xBA,\xCE\xC4\xBC\xFE\xCA\xFD\xBA\xF3\xD7\xBA,\xC8"
    "\xD5\xC6\xDA\xC7\xB0\xD7\xBA,\xC8\xD5\xC6\xDA\xBA\xF3\xD7\xBA,\xB4\xC5\xC1\xA6\xC1\xB4\xC7\xB0\xD7\xBA,"
    "\xB4\xC5\xC1\xA6\xC1\xB4\xBA\xF3\xD7\xBA,\xCB\xD1\xCB\xF7\xD2\xB3\xCA\xC7\xB7\xF1\xD7\xAA\xC2\xEB,\xCF"
    "\xEA\xC7\xE9\xD2\xB3\xCA\xC7\xB7\xF1\xD7\xAA\xC2\xEB";

// 引擎名称和引擎URL不能为空,
constexpr std::string_view nameOrUrlEmptyMessage =
    "\xD2\xFD\xC7\xE6\xC3\xFB\xB3\xC6\xBA\xCD\xD2\xFD\xC7\xE6URL\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5,";
// 引擎名称不能为空,
constexpr std::string_view nameEmptyMessage = "\xD2\xFD\xC7\xE6\xC3\xFB\xB3\xC6\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5,";
// 引擎URL不能为空,
constexpr std::string_view urlEmptyMessage = "\xD2\xFD\xC7\xE6URL\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5,";
// 你要添加的引擎已存在。
constexpr std::string_view alreadyExistsMessage =
    "\xC4\xE3\xD2\xAA\xCC\xED\xBC\xD3\xB5\xC4\xD2\xFD\xC7\xE6\xD2\xD1\xB4\xE6\xD4\xDA\xA1\xA3";
// 引擎名字不能是“.”或“..”，也不能含有这些字符：
constexpr std::string_view unacceptableNameMessage =
    "\xD2\xFD\xC7\xE6\xC3\xFB\xD7\xD6\xB2\xBB\xC4\xDC\xCA\xC7\xA1\xB0.\xA1\xB1\xBB\xF2\xA1\xB0..\xA1\xB1\xA3\xAC"
    "\xD2\xB2\xB2\xBB\xC4\xDC\xBA\xAC\xD3\xD0\xD5\xE2\xD0\xA9\xD7\xD6\xB7\xFB\xA3\xBA";

std::vector<Text> splitAt(std::string_view text, char separator) {
    std::vector<Text> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string_view::npos; start = at + 1)
        parts.emplace_back(text.substr(start, at - start));
    parts.emplace_back(text.substr(start));
    return parts;
}

Text spacedForbiddenChars() {
    Text spaced;
    for (const char c : forbiddenNameChars) spaced += spaced.empty() ? Text(1, c) : Text{' ', c};
    return spaced;
}

bool valueIsEmpty(const std::vector<Text>& values, size_t row) {
    return row >= values.size() || values[row].empty();
}

bool entryExists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

}  // namespace

const std::vector<Text>& settingLabels() {
    static const std::vector<Text> labels = splitAt(labelsText, ',');
    return labels;
}

std::vector<Text> loadSettingValues(const std::filesystem::path& file) {
    std::vector<Text> values = splitEngineLines(textFromBytes(readEngineFileBytes(file).value_or(Bytes{})));
    values.resize(size_t(engineLineCount));
    return values;
}

std::optional<Text> editRefusal(int row, const Text& value) {
    if (value.empty() && row <= 1) return Text(nameOrUrlEmptyMessage);
    return std::nullopt;
}

std::optional<Text> saveRefusal(const std::vector<Text>& values) {
    if (valueIsEmpty(values, 0)) return Text(nameEmptyMessage);
    if (valueIsEmpty(values, 1)) return Text(urlEmptyMessage);
    return std::nullopt;
}

bool saveEngineFile(const std::filesystem::path& file, const std::vector<Text>& values) {
    return replaceFileContent(file, engineFileBytes(values));
}

AddOutcome addEngineFile(const std::filesystem::path& confFolder, const std::filesystem::path& name,
                         const Text& nameText) {
    if (!isAcceptableEngineName(name)) return AddOutcome::unacceptableName;
    const std::filesystem::path file = engineFilePath(confFolder, name);
    if (engineFolderHolds(confFolder, file.filename())) return AddOutcome::alreadyExists;
    return replaceFileContent(file, nameText) ? AddOutcome::added : AddOutcome::notWritten;
}

std::optional<Text> addOutcomeMessage(AddOutcome outcome) {
    switch (outcome) {
        case AddOutcome::alreadyExists: return Text(alreadyExistsMessage);
        case AddOutcome::unacceptableName: return Text(unacceptableNameMessage) + spacedForbiddenChars();
        case AddOutcome::added:
        case AddOutcome::notWritten: break;
    }
    return std::nullopt;
}

bool renameEngineFile(const std::filesystem::path& file, const std::filesystem::path& confFolder,
                      const std::filesystem::path& newName) {
    if (!isAcceptableEngineName(newName)) return false;
    const std::filesystem::path target = engineFilePath(confFolder, newName);
    if (!isAcceptableEnginePath(target)) return false;
    std::error_code error;
    // A target that is the file itself under another letter case is a case change, not a clash.
    if (entryExists(target) && !std::filesystem::equivalent(file, target, error)) return false;
    std::filesystem::rename(file, target, error);
    return !error;
}

bool deleteEngineFile(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::remove(file, error);
}

}  // namespace ondrel
