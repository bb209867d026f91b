// Direct2D SVG substitute: a document over a parsed XML tree and its elements.
#pragma once

#include "d2d1.h"

// UTF-16 literals typed as this platform's WCHAR.
#define WIDE_LITERAL(text) u##text

inline const WCHAR* WideChars(const char16_t* text) { return text; }

enum D2D1_SVG_ATTRIBUTE_STRING_TYPE {
    D2D1_SVG_ATTRIBUTE_STRING_TYPE_SVG = 0,
    D2D1_SVG_ATTRIBUTE_STRING_TYPE_ID = 1,
};

struct ID2D1SvgElement : ID2D1Resource {
    // `nameCount` is the buffer's capacity in code units, terminator included.
    virtual HRESULT STDMETHODCALLTYPE GetTagName(PWSTR name, UINT32 nameCount) = 0;
    virtual BOOL STDMETHODCALLTYPE HasChildren() = 0;
    // Null when there is no child.
    virtual void STDMETHODCALLTYPE GetFirstChild(ID2D1SvgElement** child) = 0;
    // Null after the last child; an error when `reference` is not a child.
    virtual HRESULT STDMETHODCALLTYPE GetNextChild(ID2D1SvgElement* reference,
                                                   ID2D1SvgElement** next) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveAttribute(PCWSTR name) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetAttributeValue(PCWSTR name,
                                                        D2D1_SVG_ATTRIBUTE_STRING_TYPE type,
                                                        PCWSTR value) = 0;
    // Fails for an attribute the element does not specify, and for a buffer too small.
    virtual HRESULT STDMETHODCALLTYPE GetAttributeValue(PCWSTR name,
                                                        D2D1_SVG_ATTRIBUTE_STRING_TYPE type,
                                                        PWSTR value, UINT32 valueCount) = 0;

protected:
    ~ID2D1SvgElement() = default;
};

struct ID2D1SvgDocument : ID2D1Resource {
    virtual void STDMETHODCALLTYPE GetRoot(ID2D1SvgElement** root) = 0;
    // S_OK with a null element when no element has that id.
    virtual HRESULT STDMETHODCALLTYPE FindElementById(PCWSTR id, ID2D1SvgElement** element) = 0;

protected:
    ~ID2D1SvgDocument() = default;
};

extern const IID IID_ID2D1SvgDocument;
extern const IID IID_ID2D1SvgElement;
