#include "tab_icon_adapter.h"

#include <QImage>
#include <QPixmap>
#include <QTabWidget>

#include "ui_thread_queue.h"

namespace {
QImage toImage(const ondrel::TabImage& image) {
    QImage out(ondrel::TabImage::side, ondrel::TabImage::side, QImage::Format_ARGB32);
    for (int y = 0; y < ondrel::TabImage::side; ++y)
        for (int x = 0; x < ondrel::TabImage::side; ++x)
            out.setPixel(x, y, image.argb[size_t(y * ondrel::TabImage::side + x)]);
    return out;
}
}  // namespace

TabIconAdapter::TabIconAdapter(QTabWidget* tabs) : tabs_(tabs), uiThread_(new UiThreadQueue(tabs)) {}

template <class Work>
void TabIconAdapter::post(Work work) {
    // Posting under the lock: the tabs cannot be detached, and so not deleted, meanwhile; work
    // still queued when they are deleted is discarded with them.
    std::lock_guard lock(mutex_);
    if (tabs_) uiThread_->post(std::move(work));
}

void TabIconAdapter::setImageList(const std::vector<ondrel::TabImage>& images) {
    std::vector<QImage> converted;
    converted.reserve(images.size());
    for (const ondrel::TabImage& image : images) converted.push_back(toImage(image));
    post([this, converted = std::move(converted)] { showImageList(converted); });
}

void TabIconAdapter::setTabImage(int tab, int image) {
    post([this, tab, image] { showTabImage(tab, image); });
}

void TabIconAdapter::detach() {
    std::lock_guard lock(mutex_);
    tabs_ = nullptr;
}

// The two below run from posted calls; a call can still run after detach, before the tabs go.
void TabIconAdapter::showImageList(const std::vector<QImage>& images) {
    if (!tabs_) return;
    icons_.clear();
    for (const QImage& image : images) icons_.emplace_back(QPixmap::fromImage(image));
    for (int tab = 0; tab < int(tabImages_.size()); ++tab) showTabImage(tab, tabImages_[size_t(tab)]);
}

void TabIconAdapter::showTabImage(int tab, int image) {
    if (!tabs_ || tab < 0 || tab >= tabs_->count()) return;
    if (int(tabImages_.size()) <= tab) tabImages_.resize(size_t(tab) + 1, -1);
    tabImages_[size_t(tab)] = image;
    const bool known = image >= 0 && image < int(icons_.size());
    tabs_->setTabIcon(tab, known ? icons_[size_t(image)] : QIcon());
}
