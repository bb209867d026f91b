#include "svg/blur_filters.h"

#include <gtest/gtest.h>

#include "svg/paint_order.h"

namespace {

constexpr const char* kBlurF1 =
    R"~(<defs><filter id="f1"><feGaussianBlur stdDeviation="2"/></filter></defs>)~";

struct Extracted {
    std::vector<BlurTarget> targets;
    std::string text;
};

Extracted Extract(std::string text) {
    std::vector<BlurTarget> targets = ExtractBlurFilters(text);
    return {std::move(targets), std::move(text)};
}

std::vector<std::pair<std::u16string, float>> Pairs(const std::vector<BlurTarget>& targets) {
    std::vector<std::pair<std::u16string, float>> pairs;
    for (const BlurTarget& target : targets) pairs.emplace_back(target.id, target.stdDeviation);
    return pairs;
}

using Expected = std::vector<std::pair<std::u16string, float>>;

TEST(ExtractBlurFilters, NamedElementKeepsTheText) {
    const std::string text = std::string("<svg>") + kBlurF1 +
                             R"~(<path id="p" style="filter:url(#f1)" d="M0 0"/></svg>)~";
    const Extracted result = Extract(text);
    EXPECT_EQ(Pairs(result.targets), (Expected{{u"p", 2.0f}}));
    EXPECT_EQ(result.text, text);
}

TEST(ExtractBlurFilters, UnnamedElementsGetNumberedIdsAfterTheirName) {
    const std::string head = std::string("<svg>") + kBlurF1;
    const Extracted result = Extract(head + R"~(<path style="filter:url(#f1)" d="M0 0"/>)~"
                                            R"~(<rect filter="url(#f1)"/></svg>)~");
    EXPECT_EQ(Pairs(result.targets), (Expected{{u"ag_filter_elem_0", 2.0f}, {u"ag_filter_elem_1", 2.0f}}));
    EXPECT_EQ(result.text, head + R"~(<path id="ag_filter_elem_0" style="filter:url(#f1)" d="M0 0"/>)~"
                                  R"~(<rect id="ag_filter_elem_1" filter="url(#f1)"/></svg>)~");
}

TEST(ExtractBlurFilters, IdGoesAfterTheNameWhateverWhiteSpaceFollowsIt) {
    // The first blank here lies inside the path data; an id put there would break the value.
    const std::string head = std::string("<svg>") + kBlurF1;
    const Extracted result = Extract(head + "<path\n\tstyle=\"filter:url(#f1)\" d=\"M0 0\"/></svg>");
    EXPECT_EQ(Pairs(result.targets), (Expected{{u"ag_filter_elem_0", 2.0f}}));
    EXPECT_EQ(result.text,
              head + "<path id=\"ag_filter_elem_0\"\n\tstyle=\"filter:url(#f1)\" d=\"M0 0\"/></svg>");
}

TEST(ExtractBlurFilters, IdThatCannotBeInsertedStillCountsTheCounter) {
    const std::string head = std::string("<svg>") + kBlurF1;
    const Extracted result =
        Extract(head + R"~(<path/filter="url(#f1)"><rect filter="url(#f1)"/></svg>)~");
    EXPECT_EQ(Pairs(result.targets), (Expected{{u"ag_filter_elem_0", 2.0f}, {u"ag_filter_elem_1", 2.0f}}));
    EXPECT_EQ(result.text, head + R"~(<path/filter="url(#f1)"><rect id="ag_filter_elem_1" filter="url(#f1)"/></svg>)~");
}

TEST(ExtractBlurFilters, OnlyTheTwoExactReferenceFormsMatch) {
    const std::string head = std::string("<svg>") + kBlurF1;
    for (const char* tag : {
             R"~(<path id="p" style="filter: url(#f1)"/>)~",
             R"~(<path id="p" filter='url(#f1)'/>)~",
             R"~(<path id="p" filter="url(#f2)"/>)~",
             R"~(<path id="p" filter="url(#f1 )"/>)~",
         }) {
        const std::string text = head + tag + "</svg>";
        const Extracted result = Extract(text);
        EXPECT_TRUE(result.targets.empty()) << tag;
        EXPECT_EQ(result.text, text);
    }
}

TEST(ExtractBlurFilters, UnusableFiltersAreNotRecorded) {
    for (const char* filter : {
             R"~(<filter id="f1"><feGaussianBlur stdDeviation="0"/></filter>)~",
             R"~(<filter id="f1"><feGaussianBlur stdDeviation="-3"/></filter>)~",
             R"~(<filter id="f1"><feGaussianBlur stdDeviation="soft"/></filter>)~",
             R"~(<filter id="f1"><feGaussianBlur stdDeviation="1e40"/></filter>)~",
             R"~(<filter id="f1"><feOffset dx="2"/></filter>)~",
             R"~(<filter id="f1"><feGaussianBlur/></filter>)~",
             R"~(<filter><feGaussianBlur stdDeviation="2"/></filter>)~",
             R"~(<filter id="f1"><feGaussianBlur stdDeviation="2"/>)~",
         }) {
        const std::string text = std::string("<svg>") + filter + R"~(<path filter="url(#f1)"/></svg>)~";
        const Extracted result = Extract(text);
        EXPECT_TRUE(result.targets.empty()) << filter;
        EXPECT_EQ(result.text, text) << filter;
    }
}

TEST(ExtractBlurFilters, DeviationIsTheFirstNumberOfTheFirstBlur) {
    const Extracted result = Extract(
        R"~(<filter id="f"><feOffset/><feGaussianBlur stdDeviation="1.5 4"/><feGaussianBlur stdDeviation="9"/></filter>)~"
        R"~(<g id="g" filter="url(#f)"/>)~");
    EXPECT_EQ(Pairs(result.targets), (Expected{{u"g", 1.5f}}));
}

TEST(ExtractBlurFilters, LaterFilterWithTheSameIdWins) {
    const Extracted result = Extract(
        R"~(<filter id="f"><feGaussianBlur stdDeviation="1"/></filter>)~"
        R"~(<filter id="f"><feGaussianBlur stdDeviation="3"/></filter><use id="u" filter="url(#f)"/>)~");
    EXPECT_EQ(Pairs(result.targets), (Expected{{u"u", 3.0f}}));
}

TEST(ExtractBlurFilters, TagWithTwoReferencesTakesTheFirstIdInByteOrder) {
    const Extracted result = Extract(
        R"~(<filter id="b"><feGaussianBlur stdDeviation="2"/></filter>)~"
        R"~(<filter id="B"><feGaussianBlur stdDeviation="5"/></filter>)~"
        R"~(<path id="p" filter="url(#b)" style="filter:url(#B)"/>)~");
    EXPECT_EQ(Pairs(result.targets), (Expected{{u"p", 5.0f}}));
}

TEST(ExtractBlurFilters, ExistingIdIsUsedEvenWhenEmptyOrUnclosed) {
    const std::string head = std::string("<svg>") + kBlurF1;
    for (const char* tag : {R"~(<path id="" filter="url(#f1)"/>)~", R"~(<path filter="url(#f1)" id=">)~"}) {
        const std::string text = head + tag + "</svg>";
        const Extracted result = Extract(text);
        EXPECT_TRUE(result.targets.empty()) << tag;
        EXPECT_EQ(result.text, text);
    }
}

TEST(ExtractBlurFilters, SkipsOnlyTheMarkedTagsThemselves) {
    // A comment's own tag is skipped, but the tags inside it are still scanned.
    const Extracted result = Extract(std::string(kBlurF1) +
                                     R"~(<!-- filter="url(#f1)" --><!-- <path id="c" filter="url(#f1)"/> -->)~"
                                     R"~(<defs filter="url(#f1)"/></path filter="url(#f1)">)~");
    EXPECT_EQ(Pairs(result.targets), (Expected{{u"c", 2.0f}}));
}

TEST(ExtractBlurFilters, NoFilterLeavesEverythingAsItWas) {
    const std::string text = R"~(<svg><path filter="url(#f1)"/></svg>)~";
    const Extracted result = Extract(text);
    EXPECT_TRUE(result.targets.empty());
    EXPECT_EQ(result.text, text);
    EXPECT_TRUE(Extract("").targets.empty());
}

TEST(ExtractBlurFilters, IdsAreWidenedAsUtf8) {
    const Extracted result = Extract(std::string(kBlurF1) +
                                     "<path id=\"caf\xC3\xA9-\xF0\x9F\x98\x80\" filter=\"url(#f1)\"/>"
                                     "<path id=\"bad\xFF\xC3\" filter=\"url(#f1)\"/>");
    EXPECT_EQ(Pairs(result.targets),
              (Expected{{u"caf\u00E9-\U0001F600", 2.0f}, {u"bad\uFFFD\uFFFD", 2.0f}}));
}

TEST(ExtractBlurFilters, BothCopiesOfASplitShapeAreFound) {
    std::string named = std::string("<svg>") + kBlurF1 +
                        R"~(<path id="a" paint-order="stroke fill" filter="url(#f1)" d="M0 0"/></svg>)~";
    EmulatePaintOrder(named);
    EXPECT_EQ(Pairs(ExtractBlurFilters(named)), (Expected{{u"a_stroke", 2.0f}, {u"a", 2.0f}}));

    std::string unnamed = std::string("<svg>") + kBlurF1 +
                          R"~(<path paint-order="stroke fill" style="filter:url(#f1)"/></svg>)~";
    EmulatePaintOrder(unnamed);
    EXPECT_EQ(Pairs(ExtractBlurFilters(unnamed)),
              (Expected{{u"ag_filter_elem_0", 2.0f}, {u"ag_filter_elem_1", 2.0f}}));
}

}  // namespace
