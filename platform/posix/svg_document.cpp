#include "svg_document.h"

#include <cstring>
#include <new>
#include <vector>

#include "com_object.h"
#include "substitute.h"
#include "svg_document_tree.h"
#include "xml_conformance.h"

const IID IID_ID2D1SvgDocument = GuidFromString("86B88E4D-AFA4-4D7B-88E4-68A51C4A0AEC");
const IID IID_ID2D1SvgElement = GuidFromString("AC7B67A6-183E-49C1-A823-0EBE40B0DB29");

namespace substitute {

namespace {

#define HRESULT_INSUFFICIENT_BUFFER ((HRESULT)0x8007007A)

// Copies `text` with its terminator into a buffer of `capacity` code units.
HRESULT CopyOut(const std::u16string& text, PWSTR buffer, UINT32 capacity) {
    if (!buffer) return E_POINTER;
    if (text.size() + 1 > capacity) return HRESULT_INSUFFICIENT_BUFFER;
    std::memcpy(buffer, text.c_str(), (text.size() + 1) * sizeof(WCHAR));
    return S_OK;
}

pugi::xml_node NextElementSibling(pugi::xml_node node) {
    for (node = node.next_sibling(); node && node.type() != pugi::node_element;
         node = node.next_sibling()) {
    }
    return node;
}

pugi::xml_node FirstElementChild(pugi::xml_node node) {
    pugi::xml_node child = node.first_child();
    return child.type() == pugi::node_element ? child : NextElementSibling(child);
}

}  // namespace

class SvgElement final : public ComObject<ID2D1SvgElement> {
public:
    SvgElement(std::shared_ptr<SvgTree> tree, pugi::xml_node node)
        : tree_(std::move(tree)), node_(node) {}
    ~SvgElement() override { tree_->elements.erase(node_.internal_object()); }

    HRESULT STDMETHODCALLTYPE GetTagName(PWSTR name, UINT32 nameCount) override {
        return CopyOut(Utf16FromUtf8(node_.name()), name, nameCount);
    }
    BOOL STDMETHODCALLTYPE HasChildren() override { return FirstElementChild(node_) ? TRUE : FALSE; }
    void STDMETHODCALLTYPE GetFirstChild(ID2D1SvgElement** child) override {
        *child = ElementOf(tree_, FirstElementChild(node_));
    }
    HRESULT STDMETHODCALLTYPE GetNextChild(ID2D1SvgElement* reference,
                                           ID2D1SvgElement** next) override {
        if (!next) return E_POINTER;
        *next = nullptr;
        auto* own = dynamic_cast<SvgElement*>(reference);
        if (!own || own->tree_ != tree_ || own->node_.parent() != node_) return E_INVALIDARG;
        *next = ElementOf(tree_, NextElementSibling(own->node_));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RemoveAttribute(PCWSTR name) override {
        if (ShouldFail(Call::RemoveAttribute)) return E_FAIL;
        std::string key;
        if (!name || !Utf8FromUtf16(name, key)) return E_INVALIDARG;
        ++tree_->revision;
        node_.remove_attribute(key.c_str());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetAttributeValue(PCWSTR name, D2D1_SVG_ATTRIBUTE_STRING_TYPE,
                                                PCWSTR value) override {
        if (ShouldFail(Call::SetAttributeValue)) return E_FAIL;
        std::string key, text;
        if (!name || !value || !Utf8FromUtf16(name, key) || !Utf8FromUtf16(value, text) ||
            key.empty())
            return E_INVALIDARG;
        ++tree_->revision;
        pugi::xml_attribute attribute = node_.attribute(key.c_str());
        if (!attribute) attribute = node_.append_attribute(key.c_str());
        return attribute.set_value(text.c_str()) ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE GetAttributeValue(PCWSTR name, D2D1_SVG_ATTRIBUTE_STRING_TYPE,
                                                PWSTR value, UINT32 valueCount) override {
        std::string key;
        if (!name || !Utf8FromUtf16(name, key)) return E_INVALIDARG;
        pugi::xml_attribute attribute = node_.attribute(key.c_str());
        if (!attribute) return E_INVALIDARG;
        return CopyOut(Utf16FromUtf8(attribute.value()), value, valueCount);
    }

private:
    bool Implements(REFIID iid) const override { return iid == IID_ID2D1SvgElement; }

    std::shared_ptr<SvgTree> tree_;
    pugi::xml_node node_;
};

ID2D1SvgElement* ElementOf(const std::shared_ptr<SvgTree>& tree, pugi::xml_node node) {
    if (!node) return nullptr;
    auto found = tree->elements.find(node.internal_object());
    if (found != tree->elements.end()) {
        found->second->AddRef();
        return found->second;
    }
    auto* element = new (std::nothrow) SvgElement(tree, node);
    if (!element) return nullptr;
    try {
        tree->elements.emplace(node.internal_object(), element);
    } catch (const std::bad_alloc&) {
        element->Release();
        return nullptr;
    }
    return element;
}

namespace {

class SvgDocument final : public ComObject<ID2D1SvgDocument> {
public:
    explicit SvgDocument(std::shared_ptr<SvgTree> tree) : tree_(std::move(tree)) {}

    void STDMETHODCALLTYPE GetRoot(ID2D1SvgElement** root) override {
        *root = ElementOf(tree_, tree_->xml.document_element());
    }
    HRESULT STDMETHODCALLTYPE FindElementById(PCWSTR id, ID2D1SvgElement** element) override {
        if (!element) return E_POINTER;
        *element = nullptr;
        if (ShouldFail(Call::FindElementById)) return E_FAIL;
        std::string key;
        if (!id || !Utf8FromUtf16(id, key)) return E_INVALIDARG;
        // Document order, walked without recursion.
        pugi::xml_node root = tree_->xml.document_element();
        for (pugi::xml_node node = root; node;) {
            if (node.type() == pugi::node_element && key == node.attribute("id").value()) {
                *element = ElementOf(tree_, node);
                return *element ? S_OK : E_OUTOFMEMORY;
            }
            if (node.first_child()) {
                node = node.first_child();
                continue;
            }
            while (node && node != root && !node.next_sibling()) node = node.parent();
            node = node == root ? pugi::xml_node() : node.next_sibling();
        }
        return S_OK;
    }

    const SvgTree& Tree() const { return *tree_; }

private:
    bool Implements(REFIID iid) const override { return iid == IID_ID2D1SvgDocument; }
    std::shared_ptr<SvgTree> tree_;
};

}  // namespace

ID2D1SvgDocument* CreateSvgDocumentFromStream(IStream* stream, D2D1_SIZE_F viewport,
                                              HRESULT& result) {
    result = E_INVALIDARG;
    if (!stream || !(viewport.width > 0.0f) || !(viewport.height > 0.0f)) return nullptr;
    try {
        std::vector<char> text;
        char chunk[4096];
        ULONG read = 0;
        do {
            if (FAILED(stream->Read(chunk, sizeof(chunk), &read))) return nullptr;
            text.insert(text.end(), chunk, chunk + read);
        } while (read == sizeof(chunk));

        auto tree = std::make_shared<SvgTree>();
        tree->viewport = viewport;
        const pugi::xml_parse_result parsed = tree->xml.load_buffer(
            text.data(), text.size(), kConformingParseFlags, pugi::encoding_utf8);
        // Direct2D's parser refuses what XML refuses; pugixml alone lets some of it through.
        if (!parsed || !CheckAndDecodeXml(tree->xml) ||
            std::strcmp(tree->xml.document_element().name(), "svg") != 0)
            return nullptr;
        auto* document = new SvgDocument(std::move(tree));
        result = S_OK;
        return document;
    } catch (const std::bad_alloc&) {
        result = E_OUTOFMEMORY;
        return nullptr;
    }
}

const SvgTree* TreeOfDocument(ID2D1SvgDocument* document) {
    auto* own = dynamic_cast<SvgDocument*>(document);
    return own ? &own->Tree() : nullptr;
}

}  // namespace substitute
