#include "svg/paint_order.h"

#include <gtest/gtest.h>

namespace {

std::string Emulated(std::string text) {
    EmulatePaintOrder(text);
    return text;
}

TEST(EmulatePaintOrder, StrokeCopyThenFillCopy) {
    EXPECT_EQ(
        Emulated(R"(<svg><path id="a" paint-order="stroke fill" fill="#f00" stroke="#000" d="M0 0L9 9"/></svg>)"),
        R"(<svg><path id="a_stroke" paint-order="stroke fill" fill="none" stroke="#000" d="M0 0L9 9"/>)"
        R"(<path id="a" paint-order="stroke fill" fill="#f00" stroke="none" d="M0 0L9 9"/></svg>)");
    // Style declarations are edited in preference to attributes.
    EXPECT_EQ(Emulated(R"(<rect fill="red" style="fill:#f00;stroke:#000;paint-order:stroke, fill, markers"/>)"),
              R"(<rect fill="red" style="fill:none;stroke:#000;paint-order:stroke, fill, markers"/>)"
              R"(<rect fill="red" style="fill:#f00;stroke:none;paint-order:stroke, fill, markers"/>)");
    for (const char* name : {"path", "rect", "circle", "ellipse", "line", "polygon", "polyline"}) {
        const std::string tag = std::string("<") + name + " fill=\"red\" paint-order=\"stroke fill\"/>";
        EXPECT_EQ(Emulated(tag), std::string("<") + name + " fill=\"none\" paint-order=\"stroke fill\"/>" + tag);
    }
}

TEST(EmulatePaintOrder, AFillOrStrokeWrittenOtherwiseIsEditedNotAddedTwice) {
    EXPECT_EQ(Emulated(R"(<path fill='#f00' stroke='#000' paint-order="stroke fill"/>)"),
              R"(<path fill='none' stroke='#000' paint-order="stroke fill"/>)"
              R"(<path fill='#f00' stroke='none' paint-order="stroke fill"/>)");
    EXPECT_EQ(Emulated("<path id='a'\tfill = \"#f00\" paint-order=\"stroke fill\"/>"),
              "<path id='a_stroke'\tfill = \"none\" paint-order=\"stroke fill\"/>"
              "<path id='a'\tfill = \"#f00\" paint-order=\"stroke fill\"/>");
}

TEST(EmulatePaintOrder, MissingFillIsInsertedRightAfterTheName) {
    EXPECT_EQ(Emulated(R"(<circle r="4" paint-order="stroke fill"/>)"),
              R"(<circle fill="none" r="4" paint-order="stroke fill"/><circle r="4" paint-order="stroke fill"/>)");
    // After a tab or line break the first blank may lie inside a value.
    EXPECT_EQ(Emulated("<path\nd=\"M0 0\" paint-order=\"stroke fill\"/>"),
              "<path fill=\"none\"\nd=\"M0 0\" paint-order=\"stroke fill\"/><path\nd=\"M0 0\" paint-order=\"stroke fill\"/>");
    EXPECT_EQ(Emulated("<circle\tr=\"4\" paint-order=\"stroke fill\"/>"),
              "<circle fill=\"none\"\tr=\"4\" paint-order=\"stroke fill\"/><circle\tr=\"4\" paint-order=\"stroke fill\"/>");
}

TEST(EmulatePaintOrder, ShapeWithContentIsDoubledAsAWholeElement) {
    EXPECT_EQ(
        Emulated(R"(<svg><path id="p" paint-order="stroke fill" stroke="#000"><title>t</title></path><rect/></svg>)"),
        R"(<svg><path fill="none" id="p_stroke" paint-order="stroke fill" stroke="#000"><title>t</title></path>)"
        R"(<path id="p" paint-order="stroke fill" stroke="none"><title>t</title></path><rect/></svg>)");
    // A nested element of the same name does not end it early.
    EXPECT_EQ(Emulated(R"(<path paint-order="stroke fill"><path></path><path/></path >tail)"),
              R"(<path fill="none" paint-order="stroke fill"><path></path><path/></path >)"
              R"(<path paint-order="stroke fill"><path></path><path/></path >tail)");
    // An unclosed shape stays whole; a closed one inside it is still split.
    EXPECT_EQ(Emulated(R"(<path paint-order="stroke fill"><rect paint-order="stroke fill"></rect>)"),
              R"(<path paint-order="stroke fill"><rect fill="none" paint-order="stroke fill"></rect>)"
              R"(<rect paint-order="stroke fill"></rect>)");
}

TEST(EmulatePaintOrder, EverythingElsePassesThrough) {
    for (const char* text : {
             R"(<path paint-order="stroke" fill="red"/>)",
             R"(<path paint-order="normal"/><path paint-order="markers"/>)",
             R"(<path paint-order="fill stroke" fill="red"/>)",
             R"(<path style="paint-order:fill;stroke:red"/>)",
             R"(<linearGradient paint-order="stroke fill"/><pathology paint-order="stroke fill"/>)",
             R"(<g paint-order="stroke fill"><use href="#a"/></g>)",
             // The comment's "<" pairs with the shape's ">".
             R"(<!-- note <path paint-order="stroke fill"/> -->)",
             // No end tag, or a ">" inside a value: never half a shape.
             R"(<svg><path paint-order="stroke fill"></svg>)",
             R"(<svg><path paint-order="stroke fill" title="a>b"/></svg>)",
             R"(<svg><path paint-order="stroke fill")",
             "\xEF\xBB\xBFno tags\r\n",
             "",
             "<<<>>>",
         })
        EXPECT_EQ(Emulated(text), text);
}

}  // namespace
