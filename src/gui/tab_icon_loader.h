#pragma once
// The engine tabs' site icons, fetched on a background task from start-up on. When the window
// closes the task is told to stop, and its late calls no longer reach the tabs.
#include <memory>

#include "engines/engine_definition.h"

class QTabWidget;

class TabIconLoader {
public:
    TabIconLoader(QTabWidget* tabs, std::shared_ptr<const ondrel::EngineTable> engines);
    // Waits a moment for the stopped task to end, so that it does not run on into the program's
    // exit, where the data it reads is destroyed.
    ~TabIconLoader();
    TabIconLoader(const TabIconLoader&) = delete;
    TabIconLoader& operator=(const TabIconLoader&) = delete;

private:
    // Keeps the task pool's declarations out of the window's code, which has the search's.
    struct Task;
    std::unique_ptr<Task> task_;
};
