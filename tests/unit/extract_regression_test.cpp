// Inputs that once cost the extraction operations far more than the page they came from.
#include <gtest/gtest.h>

#include "text/extract.h"

namespace ondrel {
namespace {

TEST(ExtractRegression, RecurringPrefixBeforeADistantSuffixStaysBounded) {
    // Every "&" starts a piece that runs to the one ";" at the end: a million pieces of half a
    // megabyte on average, were they all cut.
    const Text page = Text(1000000, '&') + ";";
    std::vector<Text> pieces;
    const int n = allTextsBetween(page, "&", ";", pieces);
    size_t total = 0;
    for (const Text& piece : pieces) total += piece.size();
    EXPECT_EQ(n, int(pieces.size()));
    EXPECT_LE(total, maxCutBytes);
    ASSERT_FALSE(pieces.empty());
    EXPECT_EQ(pieces[0], Text(999999, '&')) << "the pieces before the bound are whole and in order";
    EXPECT_EQ(pieces[1], Text(999998, '&'));
}

TEST(ExtractRegression, OverlappingPiecesBelowTheBoundAreAllKept) {
    // A page of 1 000 dangling prefixes before each real link: a poor engine file, not a
    // hostile page, and every piece of it still comes out.
    Text page;
    for (int link = 0; link < 20; ++link) page += Text(1000, '<') + "/d/" + std::to_string(link) + ">";
    std::vector<Text> pieces;
    EXPECT_EQ(allTextsBetween(page, "<", ">", pieces), 20000);
    EXPECT_EQ(pieces.back(), "/d/19");
}

}  // namespace
}  // namespace ondrel
