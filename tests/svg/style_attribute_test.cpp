#include "svg/style_attribute.h"

#include <gtest/gtest.h>

namespace {

using Replace = bool (*)(std::string&, std::string_view, std::string_view);

// The edited tag, or "unchanged" when the edit reported a miss and left the tag alone.
std::string Edited(Replace replace, std::string tag, const char* name) {
    const std::string before = tag;
    if (replace(tag, name, "none")) return tag;
    return tag == before ? "unchanged" : "miss that changed the tag";
}

TEST(ReplaceStyleProperty, OnlyTheFirstDeclarationChanges) {
    EXPECT_EQ(Edited(ReplaceStyleProperty, R"(<path style="stroke:#000;fill:#ff0000;opacity:0.5"/>)", "fill"),
              R"(<path style="stroke:#000;fill:none;opacity:0.5"/>)");
    EXPECT_EQ(Edited(ReplaceStyleProperty, R"(<path style="fill: red !important"/>)", "fill"),
              R"(<path style="fill:none"/>)");
    EXPECT_EQ(Edited(ReplaceStyleProperty, R"(<path style=" fill:red;fill:blue"/>)", "fill"),
              R"(<path style=" fill:none;fill:blue"/>)");
    for (const char* tag : {R"(<path style="fill :red"/>)", R"(<path style='fill:red'/>)",
                            R"(<path fill="red"/>)", R"(<path style="fill:red/>)", R"(<path style=")"})
        EXPECT_EQ(Edited(ReplaceStyleProperty, tag, "fill"), "unchanged") << tag;
}

TEST(ReplaceAttributeValue, NeedsABlankBeforeTheName) {
    EXPECT_EQ(Edited(ReplaceAttributeValue, R"(<path fill="#f00"/>)", "fill"), R"(<path fill="none"/>)");
    EXPECT_EQ(Edited(ReplaceAttributeValue, R"(<rect stroke-width="2" width="5"/>)", "width"),
              R"(<rect stroke-width="2" width="none"/>)");
    for (const char* tag : {"<path\nfill=\"#f00\"/>", "<path\tfill=\"#f00\"/>",
                            R"(<path fill='#f00'/>)", R"(<path fill="#f00/>)"})
        EXPECT_EQ(Edited(ReplaceAttributeValue, tag, "fill"), "unchanged") << tag;
}

TEST(StyleAndAttribute, EachEditsOnlyItsOwnPlace) {
    const char* tag = R"(<path fill="#0f0" style="fill:#f00"/>)";
    EXPECT_EQ(Edited(ReplaceStyleProperty, tag, "fill"), R"(<path fill="#0f0" style="fill:none"/>)");
    EXPECT_EQ(Edited(ReplaceAttributeValue, tag, "fill"), R"(<path fill="none" style="fill:#f00"/>)");
}

}  // namespace
