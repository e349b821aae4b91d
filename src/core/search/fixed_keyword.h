#pragma once
// A keyword given once, for searches that have no edit box to read it from.
#include "app/result_lists.h"

namespace ondrel {

class FixedKeyword : public KeywordSource {
public:
    explicit FixedKeyword(Text keyword) : keyword_(std::move(keyword)) {}
    Text keyword() override { return keyword_; }

private:
    Text keyword_;
};

}  // namespace ondrel
