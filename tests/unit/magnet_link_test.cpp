#include "app/magnet_link.h"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

TEST(MagnetLink, OnlyTextsBeginningWithTheMagnetSchemeAndQuery) {
    const struct {
        Text text;
        bool expected;
    } cases[] = {
        {"magnet:?xt=urn:btih:0123456789abcdef0123456789abcdef01234567", true},
        {"MAGNET:?xt=urn:btih:ABC", true},
        {"Magnet:?", true},
        {"magnet:", false},
        {"magnet:xt=urn:btih:abc", false},
        {" magnet:?xt=urn:btih:abc", false},
        {"file:///etc/passwd", false},
        {"/home/user/run.sh", false},
        {"javascript:alert(1)", false},
        {"http://example.invalid/?magnet:?", false},
        {"", false},
        // A double-byte character whose bytes fold to nothing ASCII.
        {"\xCD\xC1magnet:?", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isMagnetLink(c.text), c.expected) << c.text;
}

}  // namespace
}  // namespace ondrel
