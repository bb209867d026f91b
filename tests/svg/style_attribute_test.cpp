#include "svg/style_attribute.h"

#include <gtest/gtest.h>

namespace {

struct Edit {
    bool changed;
    std::string tag;
};

Edit Style(std::string tag, const char* property, const char* value) {
    const bool changed = ReplaceStyleProperty(tag, property, value);
    return {changed, tag};
}

Edit Attribute(std::string tag, const char* name, const char* value) {
    const bool changed = ReplaceAttributeValue(tag, name, value);
    return {changed, tag};
}

TEST(ReplaceStyleProperty, ReplacesOneDeclarationAndKeepsTheRest) {
    const Edit edit = Style(R"(<path style="stroke:#000;fill:#ff0000;opacity:0.5"/>)", "fill", "none");
    EXPECT_TRUE(edit.changed);
    EXPECT_EQ(edit.tag, R"(<path style="stroke:#000;fill:none;opacity:0.5"/>)");

    EXPECT_EQ(Style(R"(<path style="fill: red !important"/>)", "fill", "none").tag,
              R"(<path style="fill:none"/>)");
    EXPECT_EQ(Style(R"(<path style=" fill:red;fill:blue"/>)", "fill", "none").tag,
              R"(<path style=" fill:none;fill:blue"/>)");
}

TEST(ReplaceStyleProperty, MissesLeaveTheTagAlone) {
    for (const char* tag : {
             R"(<path style="fill :red"/>)",
             R"(<path style='fill:red'/>)",
             R"(<path fill="red"/>)",
             R"(<path style="fill:red/>)",
             R"(<path style=")",
         }) {
        const Edit edit = Style(tag, "fill", "none");
        EXPECT_FALSE(edit.changed) << tag;
        EXPECT_EQ(edit.tag, tag);
    }
}

TEST(ReplaceStyleProperty, KeyMayEndALongerPropertyName) {
    // Plain substring search: "stroke:" is found inside "-stroke:" as well.
    EXPECT_EQ(Style(R"(<path style="-x-stroke:red"/>)", "stroke", "none").tag,
              R"(<path style="-x-stroke:none"/>)");
}

TEST(ReplaceAttributeValue, NeedsABlankBeforeTheName) {
    EXPECT_EQ(Attribute(R"(<path fill="#f00"/>)", "fill", "none").tag, R"(<path fill="none"/>)");
    EXPECT_EQ(Attribute(R"(<rect stroke-width="2" width="5"/>)", "width", "9").tag,
              R"(<rect stroke-width="2" width="9"/>)");
    for (const char* tag : {"<path\nfill=\"#f00\"/>", "<path\tfill=\"#f00\"/>",
                            R"(<path fill='#f00'/>)", R"(<path fill="#f00/>)"}) {
        const Edit edit = Attribute(tag, "fill", "none");
        EXPECT_FALSE(edit.changed) << tag;
        EXPECT_EQ(edit.tag, tag);
    }
}

TEST(StyleAndAttribute, EachEditsOnlyItsOwnPlace) {
    const std::string tag = R"(<path fill="#0f0" style="fill:#f00"/>)";
    EXPECT_EQ(Style(tag, "fill", "none").tag, R"(<path fill="#0f0" style="fill:none"/>)");
    EXPECT_EQ(Attribute(tag, "fill", "none").tag, R"(<path fill="none" style="fill:#f00"/>)");
}

}  // namespace
