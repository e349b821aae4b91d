#pragma once
// Puts the site icons on the engine tabs. The icon task calls from its own thread, possibly
// while the window closes: each call is carried to the user-interface thread, and once the
// window has let go of the tabs (detach) further calls are dropped without touching them.
#include <QIcon>
#include <memory>
#include <mutex>
#include <vector>

#include "icons/tab_icons.h"

class QTabWidget;
class UiThreadQueue;

class TabIconAdapter : public ondrel::TabIconSink {
public:
    explicit TabIconAdapter(QTabWidget* tabs);

    // Any thread.
    void setImageList(const std::vector<ondrel::TabImage>& images) override;
    void setTabImage(int tab, int image) override;

    // User-interface thread, before the tabs go.
    void detach();

private:
    // User-interface thread: the tab control redraws every tab from the list it holds now.
    void showImageList(const std::vector<QImage>& images);
    void showTabImage(int tab, int image);
    template <class Work>
    void post(Work work);

    std::mutex mutex_;
    QTabWidget* tabs_;  // guarded by mutex_; null once detached
    UiThreadQueue* uiThread_;  // the tabs' child, gone with them
    // User-interface thread only.
    std::vector<QIcon> icons_;
    std::vector<int> tabImages_;  // per tab, -1 for none
};
