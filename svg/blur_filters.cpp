#include "blur_filters.h"

#include <cstdlib>
#include <limits>
#include <map>
#include <new>
#include <string_view>

#include "style_attribute.h"
#include "svg_source.h"

namespace {

// Filter id to standard deviation, in byte order of the ids.
using BlurFilterMap = std::map<std::string, float, std::less<>>;

float ParseDeviation(std::string_view value) {
    const std::string number(value);
    const double deviation = std::atof(number.c_str());
    if (!(deviation > 0) || deviation > std::numeric_limits<float>::max()) return 0.0f;
    return static_cast<float>(deviation);
}

BlurFilterMap CollectBlurFilters(const std::string& svgText) {
    static constexpr std::string_view kEndTag = "</filter>";
    BlurFilterMap filters;
    size_t position = 0;
    for (;;) {
        const size_t begin = svgText.find("<filter", position);
        if (begin == std::string::npos) break;
        const size_t endTag = svgText.find(kEndTag, begin);
        if (endTag == std::string::npos) break;
        const size_t end = endTag + kEndTag.size();
        const std::string_view block(svgText.data() + begin, end - begin);
        position = end;

        std::string_view id;
        if (auto value = FindQuotedValue(block, "id=\"", 0))
            id = block.substr(value->start, value->length);
        float deviation = 0.0f;
        const size_t blur = block.find("feGaussianBlur");
        if (blur != std::string_view::npos)
            if (auto value = FindQuotedValue(block, "stdDeviation=\"", blur))
                deviation = ParseDeviation(block.substr(value->start, value->length));
        if (!id.empty() && deviation > 0) filters.insert_or_assign(std::string(id), deviation);
    }
    return filters;
}

bool StartsWith(std::string_view text, size_t at, std::string_view prefix) {
    return text.compare(at, prefix.size(), prefix) == 0;
}

bool IsSkippedTag(std::string_view text, size_t open) {
    return StartsWith(text, open, "<?xml") || StartsWith(text, open, "<!--") ||
           StartsWith(text, open, "<defs") || StartsWith(text, open, "<filter") ||
           StartsWith(text, open, "</");
}

// Filter ids as the references look them up: most by the text between "url(#" and the first
// ")", the few that hold a ")" themselves by a plain search.
struct FilterLookup {
    const BlurFilterMap& filters;
    std::vector<const BlurFilterMap::value_type*> idsWithParenthesis;
};

FilterLookup MakeFilterLookup(const BlurFilterMap& filters) {
    FilterLookup lookup{filters, {}};
    for (const auto& entry : filters)
        if (entry.first.find(')') != std::string::npos) lookup.idsWithParenthesis.push_back(&entry);
    return lookup;
}

void KeepFirstInIdOrder(const BlurFilterMap::value_type*& best,
                        const BlurFilterMap::value_type* candidate) {
    if (best == nullptr || candidate->first < best->first) best = candidate;
}

// The referenced filter whose id sorts first, written as filter:url(#id) or
// filter="url(#id)"; null when the tag references none.
const BlurFilterMap::value_type* ReferencedFilter(std::string_view tagText,
                                                  const FilterLookup& lookup) {
    static constexpr std::string_view kStyleForm = "filter:url(#";
    static constexpr std::string_view kAttributeForm = "filter=\"url(#";
    const BlurFilterMap::value_type* best = nullptr;
    bool referencesAny = false;
    for (const std::string_view form : {kStyleForm, kAttributeForm}) {
        const bool quoted = form == kAttributeForm;
        for (size_t at = tagText.find(form); at != std::string_view::npos;
             at = tagText.find(form, at + 1)) {
            referencesAny = true;
            const size_t idBegin = at + form.size();
            const size_t idEnd = tagText.find(')', idBegin);
            if (idEnd == std::string_view::npos) break;
            if (quoted && (idEnd + 1 >= tagText.size() || tagText[idEnd + 1] != '"')) continue;
            const auto entry = lookup.filters.find(tagText.substr(idBegin, idEnd - idBegin));
            if (entry != lookup.filters.end()) KeepFirstInIdOrder(best, &*entry);
        }
    }
    if (!referencesAny) return nullptr;
    for (const auto* entry : lookup.idsWithParenthesis) {
        const std::string styleForm = std::string(kStyleForm) + entry->first + ")";
        const std::string attributeForm = std::string(kAttributeForm) + entry->first + ")\"";
        if (tagText.find(styleForm) != std::string_view::npos ||
            tagText.find(attributeForm) != std::string_view::npos)
            KeepFirstInIdOrder(best, entry);
    }
    return best;
}

// Where an id attribute goes: right after the tag name, when white space follows the name.
// Anywhere later could fall inside an attribute value.
size_t IdInsertionPoint(std::string_view tagText) {
    size_t nameEnd = 1;
    while (nameEnd < tagText.size() && !IsTagSpace(tagText[nameEnd]) &&
           tagText[nameEnd] != '/' && tagText[nameEnd] != '>')
        ++nameEnd;
    return nameEnd < tagText.size() && IsTagSpace(tagText[nameEnd]) ? nameEnd
                                                                    : std::string_view::npos;
}

void CollectBlurTargets(std::string& svgText, const BlurFilterMap& filters,
                        std::vector<BlurTarget>& targets) {
    const FilterLookup lookup = MakeFilterLookup(filters);
    unsigned counter = 0;
    size_t position = 0;
    while (position < svgText.size()) {
        const size_t open = svgText.find('<', position);
        if (open == std::string::npos) return;
        if (IsSkippedTag(svgText, open)) {
            position = open + 1;
            continue;
        }
        size_t close = svgText.find('>', open);
        if (close == std::string::npos) return;
        std::string_view tagText(svgText.data() + open, close - open + 1);
        const auto* filter = ReferencedFilter(tagText, lookup);
        if (filter == nullptr) {
            position = close + 1;
            continue;
        }

        std::string elementId;
        if (tagText.find("id=\"") != std::string_view::npos) {
            if (auto value = FindQuotedValue(tagText, "id=\"", 0))
                elementId = tagText.substr(value->start, value->length);
        } else if (auto written = FindTagAttribute(tagText, "id")) {
            // An id in single quotes or with white space around "=" is the element's own: a
            // second one would make the document invalid XML.
            elementId = tagText.substr(written->start, written->length);
        } else {
            elementId = "ag_filter_elem_" + std::to_string(counter++);
            const size_t at = IdInsertionPoint(tagText);
            if (at != std::string_view::npos) {
                const std::string attribute = " id=\"" + elementId + "\"";
                svgText.insert(open + at, attribute);
                close += attribute.size();
            }
        }
        if (!elementId.empty()) targets.push_back({std::move(elementId), filter->second});
        position = close + 1;
    }
}

}  // namespace

std::vector<BlurTarget> ExtractBlurFilters(std::string& svgText) {
    std::vector<BlurTarget> targets;
    try {
        const BlurFilterMap filters = CollectBlurFilters(svgText);
        if (!filters.empty()) CollectBlurTargets(svgText, filters, targets);
    } catch (const std::bad_alloc&) {
        // Without memory for the lookups the document is drawn unblurred; an id already
        // inserted is harmless.
        targets.clear();
    }
    return targets;
}
