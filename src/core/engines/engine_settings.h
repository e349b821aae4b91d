#pragma once
// What the engine settings window decides: the labels of the 22 values, a file's values, the
// refusals of an edit and of a save, and the add, rename, delete and save commands on the
// engine folder. The window only asks and shows; every text here is program text.
#include <filesystem>
#include <optional>
#include <vector>

#include "text/text.h"

namespace ondrel {

// The 22 labels shown beside an engine's values, in file order.
const std::vector<Text>& settingLabels();

// The first 22 lines of the file as the loader splits them; missing lines are empty values.
// An unreadable file gives 22 empty values.
std::vector<Text> loadSettingValues(const std::filesystem::path& file);

// The message refusing to set `row` (-1: none selected) to `value`, if the edit is refused:
// the name and the site address (rows 0 and 1) may not be cleared.
std::optional<Text> editRefusal(int row, const Text& value);

// The message refusing to save these values, if the save is refused: the name and the site
// address must both be given.
std::optional<Text> saveRefusal(const std::vector<Text>& values);

// Writes the values as the whole engine file; false when it could not be written.
bool saveEngineFile(const std::filesystem::path& file, const std::vector<Text>& values);

enum class AddOutcome { added, unacceptableName, alreadyExists, notWritten };

// Creates conf / (name + ".EG") holding `nameText` (the name as program text) alone, unless the
// name is unacceptable or an entry of that name exists already, letter case ignored.
AddOutcome addEngineFile(const std::filesystem::path& confFolder, const std::filesystem::path& name,
                         const Text& nameText);

// The message the window shows for an add's outcome, if any; a failed write is not reported.
std::optional<Text> addOutcomeMessage(AddOutcome outcome);

// Moves `file` to conf / (newName + ".EG") when the name and the path are acceptable and
// nothing of that name exists yet; an existing engine file is never replaced. False when
// nothing was moved.
bool renameEngineFile(const std::filesystem::path& file, const std::filesystem::path& confFolder,
                      const std::filesystem::path& newName);

// Deletes the file; false when nothing was deleted.
bool deleteEngineFile(const std::filesystem::path& file);

}  // namespace ondrel
