#include "tab_icon_loader.h"

#include "icons/favicon_loader.h"
#include "icons/task_pool.h"
#include "tab_icon_adapter.h"
#include "web/cancellation.h"
#include "web/web_request.h"

struct TabIconLoader::Task {
    ondrel::TaskPool pool;
    std::shared_ptr<ondrel::Cancellation> stop = std::make_shared<ondrel::Cancellation>();
    std::shared_ptr<TabIconAdapter> sink;
};

TabIconLoader::TabIconLoader(QTabWidget* tabs, std::shared_ptr<const ondrel::EngineTable> engines)
    : task_(std::make_unique<Task>()) {
    task_->sink = std::make_shared<TabIconAdapter>(tabs);
    ondrel::startTabIcons(task_->pool, std::move(engines), task_->sink, task_->stop,
                          [](const ondrel::Text& url) { return ondrel::WebRequest(url); });
}

TabIconLoader::~TabIconLoader() {
    task_->stop->cancel();
    task_->sink->detach();
    // A stopped task's request is aborted within moments; one that does not end in a second is
    // left to finish on its own rather than holding the window's thread.
    task_->pool.wait(1000);
}
