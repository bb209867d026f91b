#include "svg/blur_filters.h"

#include <gtest/gtest.h>

#include "svg/paint_order.h"

namespace {

const std::string kBlurF1 = R"~(<svg><filter id="f1"><feGaussianBlur stdDeviation="2"/></filter>)~";

using Targets = std::vector<std::pair<std::string, float>>;

Targets Extract(std::string& text) {
    Targets targets;
    for (const BlurTarget& target : ExtractBlurFilters(text))
        targets.emplace_back(target.id, target.stdDeviation);
    return targets;
}

TEST(ExtractBlurFilters, NamedElementsKeepTheText) {
    // An id in single quotes or spaced around "=" is still the element's own: no second id.
    std::string text = kBlurF1 + R"~(<path id="p" style="filter:url(#f1)"/><g id="g" filter="url(#f1)"/>)~"
                                 R"~(<path id='q' filter="url(#f1)"/><path id = "r" filter="url(#f1)"/>)~";
    const std::string before = text;
    EXPECT_EQ(Extract(text), (Targets{{"p", 2}, {"g", 2}, {"q", 2}, {"r", 2}}));
    EXPECT_EQ(text, before);
}

TEST(ExtractBlurFilters, UnnamedElementsGetNumberedIdsAfterTheirName) {
    std::string text = kBlurF1 + R"~(<path style="filter:url(#f1)" d="M0 0"/><path/filter="url(#f1)">)~"
                                 "<rect\n\tfilter=\"url(#f1)\" d=\"M 0 0\"/>";
    EXPECT_EQ(Extract(text),
              (Targets{{"ag_filter_elem_0", 2}, {"ag_filter_elem_1", 2}, {"ag_filter_elem_2", 2}}));
    // With no white space after the name the id has nowhere to go, but it is still counted;
    // after a line break it goes right after the name, never into the path data.
    EXPECT_EQ(text, kBlurF1 + R"~(<path id="ag_filter_elem_0" style="filter:url(#f1)" d="M0 0"/><path/filter="url(#f1)">)~"
                              "<rect id=\"ag_filter_elem_2\"\n\tfilter=\"url(#f1)\" d=\"M 0 0\"/>");
}

TEST(ExtractBlurFilters, UnusableFiltersAndOtherReferenceFormsAreIgnored) {
    const std::string reference = R"~(<path filter="url(#f1)"/>)~";
    for (const std::string& text : {
             kBlurF1 + R"~(<path style="filter: url(#f1)"/><path filter='url(#f1)'/><path filter="url(#f1 )"/>)~",
             kBlurF1 + R"~(<path id="" filter="url(#f1)"/><path filter="url(#f1)" id=">)~",
             R"~(<filter id="f1"><feGaussianBlur stdDeviation="0"/></filter>)~" + reference,
             R"~(<filter id="f1"><feGaussianBlur stdDeviation="-3"/></filter>)~" + reference,
             R"~(<filter id="f1"><feGaussianBlur stdDeviation="soft"/></filter>)~" + reference,
             R"~(<filter id="f1"><feGaussianBlur stdDeviation="1e40"/></filter>)~" + reference,
             R"~(<filter id="f1"><feOffset dx="2"/><feGaussianBlur/></filter>)~" + reference,
             R"~(<filter><feGaussianBlur stdDeviation="2"/></filter>)~" + reference,
             R"~(<filter id="f1"><feGaussianBlur stdDeviation="2"/>)~" + reference,
             reference,
         }) {
        std::string edited = text;
        EXPECT_TRUE(Extract(edited).empty()) << text;
        EXPECT_EQ(edited, text);
    }
}

TEST(ExtractBlurFilters, WhichDeviationApplies) {
    std::string text =
        R"~(<filter id="b"><feOffset/><feGaussianBlur stdDeviation="1.5 4"/><feGaussianBlur stdDeviation="9"/></filter>)~"
        R"~(<filter id="B"><feGaussianBlur stdDeviation="1"/></filter>)~"
        R"~(<filter id="B"><feGaussianBlur stdDeviation="5"/></filter>)~"
        R"~(<use id="u" filter="url(#b)"/><path id="p" filter="url(#b)" style="filter:url(#B)"/>)~";
    // First blur, first number; the later of two same ids; the id first in byte order.
    EXPECT_EQ(Extract(text), (Targets{{"u", 1.5f}, {"p", 5}}));

    std::string parenthesis =
        R"~(<filter id="a)b"><feGaussianBlur stdDeviation="3"/></filter>)~"
        R"~(<filter id="a"><feGaussianBlur stdDeviation="4"/></filter>)~"
        R"~(<path id="x" filter="url(#a)b)"/><path id="y" style="filter:url(#a)b)"/>)~";
    EXPECT_EQ(Extract(parenthesis), (Targets{{"x", 3}, {"y", 4}}));
}

TEST(ExtractBlurFilters, OnlyTheMarkedTagsThemselvesAreSkipped) {
    std::string text = kBlurF1 + R"~(<!-- filter="url(#f1)" --><!-- <path id="c" filter="url(#f1)"/> -->)~"
                                 R"~(<defs filter="url(#f1)"/></path filter="url(#f1)">)~";
    EXPECT_EQ(Extract(text), (Targets{{"c", 2}}));
}

TEST(ExtractBlurFilters, BothCopiesOfASplitShapeAreFound) {
    std::string named = kBlurF1 + R"~(<path id="a" paint-order="stroke fill" filter="url(#f1)"/>)~";
    EmulatePaintOrder(named);
    EXPECT_EQ(Extract(named), (Targets{{"a_stroke", 2}, {"a", 2}}));

    std::string unnamed = kBlurF1 + R"~(<path paint-order="stroke fill" style="filter:url(#f1)"/>)~";
    EmulatePaintOrder(unnamed);
    EXPECT_EQ(Extract(unnamed), (Targets{{"ag_filter_elem_0", 2}, {"ag_filter_elem_1", 2}}));
}

}  // namespace
