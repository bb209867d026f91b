#include "svg/paint_order.h"

#include <gtest/gtest.h>

namespace {

std::string Emulated(std::string text) {
    EmulatePaintOrder(text);
    return text;
}

TEST(EmulatePaintOrder, SplitsASelfClosingShapeIntoStrokeThenFill) {
    EXPECT_EQ(
        Emulated(R"(<svg><path id="a" paint-order="stroke fill" fill="#f00" stroke="#000" d="M0 0L9 9"/></svg>)"),
        R"(<svg><path id="a_stroke" paint-order="stroke fill" fill="none" stroke="#000" d="M0 0L9 9"/>)"
        R"(<path id="a" paint-order="stroke fill" fill="#f00" stroke="none" d="M0 0L9 9"/></svg>)");
}

TEST(EmulatePaintOrder, EditsStyleDeclarationsBeforeAttributes) {
    EXPECT_EQ(Emulated(R"(<rect fill="red" style="fill:#f00;stroke:#000;paint-order:stroke, fill, markers"/>)"),
              R"(<rect fill="red" style="fill:none;stroke:#000;paint-order:stroke, fill, markers"/>)"
              R"(<rect fill="red" style="fill:#f00;stroke:none;paint-order:stroke, fill, markers"/>)");
}

TEST(EmulatePaintOrder, InsertsFillNoneAfterTheNameWhenThereIsNoFill) {
    EXPECT_EQ(Emulated(R"(<circle r="4" paint-order="stroke"fill"/>)"),
              R"(<circle r="4" paint-order="stroke"fill"/>)");
    EXPECT_EQ(Emulated(R"(<circle r="4" paint-order="stroke fill"/>)"),
              R"(<circle fill="none" r="4" paint-order="stroke fill"/>)"
              R"(<circle r="4" paint-order="stroke fill"/>)");
    // A tab or line break after the name must not move the insertion into a value.
    EXPECT_EQ(Emulated("<circle\tr=\"4\" paint-order=\"stroke fill\"/>"),
              "<circle fill=\"none\"\tr=\"4\" paint-order=\"stroke fill\"/>"
              "<circle\tr=\"4\" paint-order=\"stroke fill\"/>");
    EXPECT_EQ(Emulated("<path\nd=\"M0 0\" paint-order=\"stroke fill\"/>"),
              "<path fill=\"none\"\nd=\"M0 0\" paint-order=\"stroke fill\"/>"
              "<path\nd=\"M0 0\" paint-order=\"stroke fill\"/>");
}

TEST(EmulatePaintOrder, OtherPaintOrdersAreLeftAlone) {
    for (const char* text : {
             R"(<path paint-order="stroke" fill="red"/>)",
             R"(<path paint-order="normal" fill="red"/>)",
             R"(<path paint-order="markers" fill="red"/>)",
             R"(<path paint-order="fill stroke" fill="red"/>)",
             R"(<path style="paint-order:fill;stroke:red"/>)",
             R"(<path fill="red"/>)",
         })
        EXPECT_EQ(Emulated(text), text);
}

TEST(EmulatePaintOrder, OnlyShapeStartTagsAreSplit) {
    for (const char* text : {
             R"(<linearGradient paint-order="stroke fill"/>)",
             R"(<g paint-order="stroke fill"><use href="#a"/></g>)",
             R"(<pathology paint-order="stroke fill"/>)",
         })
        EXPECT_EQ(Emulated(text), text);
}

TEST(EmulatePaintOrder, EveryShapeNameIsRecognised) {
    for (const char* name : {"path", "rect", "circle", "ellipse", "line", "polygon", "polyline"}) {
        const std::string tag = std::string("<") + name + " fill=\"red\" paint-order=\"stroke fill\"/>";
        const std::string strokeCopy = std::string("<") + name + " fill=\"none\" paint-order=\"stroke fill\"/>";
        EXPECT_EQ(Emulated(tag), strokeCopy + tag) << name;
    }
}

TEST(EmulatePaintOrder, ShapeWithContentIsDoubledAsAWholeElement) {
    EXPECT_EQ(
        Emulated(R"(<svg><path id="p" paint-order="stroke fill" stroke="#000"><title>t</title></path><rect/></svg>)"),
        R"(<svg><path fill="none" id="p_stroke" paint-order="stroke fill" stroke="#000"><title>t</title></path>)"
        R"(<path id="p" paint-order="stroke fill" stroke="none"><title>t</title></path><rect/></svg>)");
}

TEST(EmulatePaintOrder, ElementEndIsFoundPastNestedSameNames) {
    const std::string text =
        R"(<path paint-order="stroke fill"><path></path><path/></path >tail)";
    EXPECT_EQ(Emulated(text),
              R"(<path fill="none" paint-order="stroke fill"><path></path><path/></path >)"
              R"(<path paint-order="stroke fill"><path></path><path/></path >tail)");
}

TEST(EmulatePaintOrder, UnclosedShapeIsLeftUnsplit) {
    for (const char* text : {
             R"(<svg><path paint-order="stroke fill"></svg>)",
             R"(<svg><path paint-order="stroke fill" title="a>b"/></svg>)",
         })
        EXPECT_EQ(Emulated(text), text);
}

TEST(EmulatePaintOrder, CommentsAndOtherTextPassThrough) {
    for (const char* text : {
             R"(<!-- note <path paint-order="stroke fill"/> -->)",
             "no tags at all",
             "",
             R"(<?xml version="1.0"?><svg>text &amp; more</svg>)",
             R"(<svg><path paint-order="stroke fill")",
             "<<<>>>",
         })
        EXPECT_EQ(Emulated(text), text);
}

TEST(EmulatePaintOrder, BytesAroundSplitsAreKept) {
    const std::string text = "\xEF\xBB\xBF<svg>\r\n\t<line paint-order=\"stroke fill\"/>\r\n</svg>\r\n";
    EXPECT_EQ(Emulated(text),
              "\xEF\xBB\xBF<svg>\r\n\t<line fill=\"none\" paint-order=\"stroke fill\"/>"
              "<line paint-order=\"stroke fill\"/>\r\n</svg>\r\n");
}

}  // namespace
