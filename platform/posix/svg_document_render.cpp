// Drawing a substitute SVG document: its current tree, serialised, through librsvg and cairo.
#include <cairo.h>
#include <librsvg/rsvg.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <sstream>
#include <vector>

#include "svg_document.h"
#include "svg_document_tree.h"

namespace substitute {
namespace {

constexpr const char* kSvgNamespace = "http://www.w3.org/2000/svg";

// Parses kept per document, bounded by their texts' bytes: enough for every element of an
// icon drawn alone, so that each level after the first parses nothing, and no more than a few
// large documents' worth.
constexpr size_t kKeptParseBytes = size_t{4} << 20;

bool IsIgnoredProperty(const std::string& name) {
    return name == "filter" || name == "paint-order";
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// The style text without its `filter` and `paint-order` declarations.
std::string StyleWithoutIgnored(const char* style) {
    std::string kept;
    std::stringstream declarations(style);
    std::string declaration;
    while (std::getline(declarations, declaration, ';')) {
        const size_t colon = declaration.find(':');
        const std::string name =
            Trimmed(colon == std::string::npos ? declaration : declaration.substr(0, colon));
        if (IsIgnoredProperty(name)) continue;
        if (!kept.empty()) kept += ';';
        kept += declaration;
    }
    return kept;
}

void StripIgnored(pugi::xml_node element) {
    for (const char* name : {"filter", "paint-order"}) element.remove_attribute(name);
    if (pugi::xml_attribute style = element.attribute("style"))
        style.set_value(StyleWithoutIgnored(style.value()).c_str());
}

std::string Saved(const pugi::xml_document& xml) {
    std::ostringstream text;
    xml.save(text, "", pugi::format_raw, pugi::encoding_utf8);
    return text.str();
}

}  // namespace

std::string SerializeForRendering(const pugi::xml_document& xml) {
    pugi::xml_document copy;
    copy.reset(xml);
    pugi::xml_node root = copy.document_element();
    // The parsed text may leave the namespace implicit; librsvg only draws SVG-namespace nodes.
    if (!root.attribute("xmlns")) root.append_attribute("xmlns").set_value(kSvgNamespace);
    for (pugi::xml_node node = root; node;) {
        if (node.type() == pugi::node_element) StripIgnored(node);
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && node != root && !node.next_sibling()) node = node.parent();
        node = node == root ? pugi::xml_node() : node.next_sibling();
    }
    return Saved(copy);
}

std::string SerializeSvgDocument(ID2D1SvgDocument* document) {
    const SvgTree* tree = TreeOfDocument(document);
    return tree ? Saved(tree->xml) : std::string();
}

bool RenderSvgDocument(ID2D1SvgDocument* document, const D2D1_MATRIX_3X2_F& transform,
                       uint8_t* pixels, uint32_t width, uint32_t height, size_t pitch) {
    const SvgTree* tree = TreeOfDocument(document);
    if (!tree) return false;
    if (tree->renderedText.empty() || tree->renderedRevision != tree->revision) {
        tree->renderedText = SerializeForRendering(tree->xml);
        tree->renderedRevision = tree->revision;
    }
    const std::string& text = tree->renderedText;

    GError* error = nullptr;
    auto& kept = tree->renderedHandles;
    const size_t textHash = std::hash<std::string>()(text);
    auto found = std::find_if(kept.begin(), kept.end(), [&](const KeptParse& entry) {
        return entry.textHash == textHash && entry.text == text;
    });
    if (found == kept.end()) {
        RsvgHandle* parsed = rsvg_handle_new_from_data(
            reinterpret_cast<const guint8*>(text.data()), text.size(), &error);
        if (!parsed) {
            g_clear_error(&error);
            return false;
        }
        rsvg_handle_set_dpi(parsed, 96.0);
        KeptParse entry{text, textHash, std::shared_ptr<void>(parsed, g_object_unref)};
        gdouble ownWidth = 0, ownHeight = 0;
        if (rsvg_handle_get_intrinsic_size_in_pixels(parsed, &ownWidth, &ownHeight) &&
            ownWidth > 0 && ownHeight > 0) {
            entry.ownWidth = ownWidth;
            entry.ownHeight = ownHeight;
        }
        size_t keptBytes = text.size();
        for (const KeptParse& older : kept) keptBytes += older.text.size();
        size_t dropped = 0;
        while (dropped < kept.size() && keptBytes > kKeptParseBytes)
            keptBytes -= kept[dropped++].text.size();
        kept.erase(kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(dropped));
        kept.push_back(std::move(entry));
        found = kept.end() - 1;
    }
    RsvgHandle* handle = static_cast<RsvgHandle*>(found->handle.get());

    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        pixels, CAIRO_FORMAT_ARGB32, static_cast<int>(width), static_cast<int>(height),
        static_cast<int>(pitch));
    cairo_t* cr = cairo_create(surface);
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, transform._11, transform._12, transform._21, transform._22,
                      transform._31, transform._32);
    cairo_set_matrix(cr, &matrix);
    // Absolute root sizes make their own viewport at the origin, as in Direct2D; librsvg
    // would otherwise fit and centre the document in the one it is given.
    RsvgRectangle viewport{0.0, 0.0, tree->viewport.width, tree->viewport.height};
    if (found->ownWidth > 0) {
        viewport.width = found->ownWidth;
        viewport.height = found->ownHeight;
    }
    const bool drawn = rsvg_handle_render_document(handle, cr, &viewport, &error);
    g_clear_error(&error);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    return drawn;
}

}  // namespace substitute
