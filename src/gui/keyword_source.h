#pragma once
// The keyword box as the search's workers read it. The box may only be touched on the
// user-interface thread, so its text is mirrored on every change and a worker reads the mirror:
// the text as it stands at that moment, without waiting for the window.
#include <QObject>
#include <mutex>

#include "app/result_lists.h"

class QLineEdit;

class KeywordBoxSource : public QObject, public ondrel::KeywordSource {
    Q_OBJECT
public:
    explicit KeywordBoxSource(QLineEdit* box);
    ondrel::Text keyword() override;

private:
    std::mutex mutex_;
    ondrel::Text text_;  // guarded by mutex_
};
