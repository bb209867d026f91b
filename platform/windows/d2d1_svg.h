// Direct2D interfaces the mingw-w64 10 headers lack: the factory, device and device-context
// levels that reach the SVG renderer, and the SVG document and element.
//
// Each interface is a plain table of __stdcall function pointers in d2d1.dll's slot order,
// one field name per slot, with its slot pinned by static_assert; thin inline wrappers give
// system code the SDK's method names. Declaring them as C++ virtuals instead would let GCC
// order ID2D1SvgElement's overloaded Get/SetAttributeValue differently from MSVC, and a
// wrong slot only shows on a real Windows machine. Slots the code never calls are kept as
// anonymous padding so that the table still has the interface's full size.
#pragma once

#include <cstddef>

#include <d2d1_1.h>
#include <d2d1effects.h>
#include <d3d11.h>
#include <dxgi.h>
#include <shlwapi.h>

// UTF-16 literals typed as this platform's WCHAR.
#define WIDE_LITERAL(text) L##text

// The pre-pass keeps ids as char16_t; the Windows API spells the same code units wchar_t.
inline const WCHAR* WideChars(const char16_t* text) {
    static_assert(sizeof(char16_t) == sizeof(WCHAR), "UTF-16 code units on both sides");
    return reinterpret_cast<const WCHAR*>(text);
}

enum D2D1_SVG_ATTRIBUTE_STRING_TYPE {
    D2D1_SVG_ATTRIBUTE_STRING_TYPE_SVG = 0,
    D2D1_SVG_ATTRIBUTE_STRING_TYPE_ID = 1,
    D2D1_SVG_ATTRIBUTE_STRING_TYPE_FORCE_DWORD = 0xffffffff
};
enum D2D1_SVG_ATTRIBUTE_POD_TYPE { D2D1_SVG_ATTRIBUTE_POD_TYPE_FORCE_DWORD = 0xffffffff };
enum D2D1_SVG_PAINT_TYPE { D2D1_SVG_PAINT_TYPE_FORCE_DWORD = 0xffffffff };
enum D2D1_SVG_PATH_COMMAND { D2D1_SVG_PATH_COMMAND_FORCE_DWORD = 0xffffffff };
struct D2D1_SVG_LENGTH {
    FLOAT value;
    UINT32 units;
};

struct ID2D1SvgAttribute;
struct ID2D1SvgPaint;
struct ID2D1SvgStrokeDashArray;
struct ID2D1SvgPointCollection;
struct ID2D1SvgPathData;
struct ID2D1SvgDocument;
struct ID2D1SvgElement;
struct ID2D1Device2;
struct ID2D1DeviceContext2;

inline constexpr IID IID_ID2D1Factory3 = {
    0x0869759F, 0x4F00, 0x413F, {0xB0, 0x3E, 0x2B, 0xDA, 0x45, 0x40, 0x4D, 0x0F}};
inline constexpr IID IID_ID2D1Device2 = {
    0xA44472E1, 0x8DFB, 0x4E60, {0x84, 0x92, 0x6E, 0x28, 0x61, 0xC9, 0xCA, 0x8B}};
inline constexpr IID IID_ID2D1DeviceContext2 = {
    0x394EA6A3, 0x0C34, 0x4321, {0x95, 0x0B, 0x6C, 0xA2, 0x0F, 0x0B, 0xE6, 0xC7}};
inline constexpr IID IID_ID2D1DeviceContext5 = {
    0x7836D248, 0x68CC, 0x4DF6, {0xB9, 0xE8, 0xDE, 0x99, 0x1B, 0xF6, 0x2E, 0xB7}};
inline constexpr IID IID_ID2D1SvgDocument = {
    0x86B88E4D, 0xAFA4, 0x4D7B, {0x88, 0xE4, 0x68, 0xA5, 0x1C, 0x4A, 0x0A, 0xEC}};
inline constexpr IID IID_ID2D1SvgElement = {
    0xAC7B67A6, 0x183E, 0x49C1, {0xA8, 0x23, 0x0E, 0xBE, 0x40, 0xB0, 0xDB, 0x29}};

// Slot check: the field's index in its table, and the table's total slot count.
#define D2D1_SVG_SLOT(table, field, slot) \
    static_assert(offsetof(table, field) == (slot) * sizeof(void*), #table "::" #field)
#define D2D1_SVG_SLOTS(table, total) \
    static_assert(sizeof(table) == (total) * sizeof(void*), #table " slot count")

// IUnknown's three slots, typed for the interface `self`.
#define D2D1_SVG_UNKNOWN_SLOTS(self)                                                  \
    HRESULT(STDMETHODCALLTYPE* QueryInterface)(self * This, REFIID iid, void** out); \
    ULONG(STDMETHODCALLTYPE* AddRef)(self * This);                                   \
    ULONG(STDMETHODCALLTYPE* Release)(self * This)

// Wrappers for IUnknown's slots, shared by every table-based interface.
#define D2D1_SVG_UNKNOWN_WRAPPERS                                                         \
    HRESULT QueryInterface(REFIID iid, void** out) { return lpVtbl->QueryInterface(this, iid, out); } \
    ULONG AddRef() { return lpVtbl->AddRef(this); }                                       \
    ULONG Release() { return lpVtbl->Release(this); }

// ---- ID2D1Factory3: CreateDevice(IDXGIDevice*, ID2D1Device2**) -------------------------

struct ID2D1Factory3Vtbl {
    D2D1_SVG_UNKNOWN_SLOTS(struct ID2D1Factory3);
    void* factorySlots3To27[25];  // ID2D1Factory, ID2D1Factory1, ID2D1Factory2
    HRESULT(STDMETHODCALLTYPE* CreateDevice2)(struct ID2D1Factory3* This, IDXGIDevice* dxgiDevice,
                                             ID2D1Device2** device);
};
D2D1_SVG_SLOT(ID2D1Factory3Vtbl, Release, 2);
D2D1_SVG_SLOT(ID2D1Factory3Vtbl, CreateDevice2, 28);
D2D1_SVG_SLOTS(ID2D1Factory3Vtbl, 29);

struct ID2D1Factory3 {
    const ID2D1Factory3Vtbl* lpVtbl;
    D2D1_SVG_UNKNOWN_WRAPPERS
    HRESULT CreateDevice(IDXGIDevice* dxgiDevice, ID2D1Device2** device) {
        return lpVtbl->CreateDevice2(this, dxgiDevice, device);
    }
};

// ---- ID2D1Device2: CreateDeviceContext(options, ID2D1DeviceContext2**) ------------------

struct ID2D1Device2Vtbl {
    D2D1_SVG_UNKNOWN_SLOTS(struct ID2D1Device2);
    void* deviceSlots3To11[9];  // ID2D1Resource, ID2D1Device, ID2D1Device1
    HRESULT(STDMETHODCALLTYPE* CreateDeviceContext2)(struct ID2D1Device2* This,
                                                    D2D1_DEVICE_CONTEXT_OPTIONS options,
                                                    ID2D1DeviceContext2** context);
    void* deviceSlots13To14[2];  // FlushDeviceContexts, GetDxgiDevice
};
D2D1_SVG_SLOT(ID2D1Device2Vtbl, CreateDeviceContext2, 12);
D2D1_SVG_SLOTS(ID2D1Device2Vtbl, 15);

struct ID2D1Device2 {
    const ID2D1Device2Vtbl* lpVtbl;
    D2D1_SVG_UNKNOWN_WRAPPERS
    HRESULT CreateDeviceContext(D2D1_DEVICE_CONTEXT_OPTIONS options, ID2D1DeviceContext2** context) {
        return lpVtbl->CreateDeviceContext2(this, options, context);
    }
};

// ---- ID2D1DeviceContext2: held only to ask it for ID2D1DeviceContext5 --------------------

struct ID2D1DeviceContext2Vtbl {
    D2D1_SVG_UNKNOWN_SLOTS(struct ID2D1DeviceContext2);
    void* contextSlots3To105[103];
};
D2D1_SVG_SLOTS(ID2D1DeviceContext2Vtbl, 106);

struct ID2D1DeviceContext2 {
    const ID2D1DeviceContext2Vtbl* lpVtbl;
    D2D1_SVG_UNKNOWN_WRAPPERS
};

// ---- ID2D1DeviceContext5: the render target calls and the SVG document ------------------

struct ID2D1DeviceContext5Vtbl {
    D2D1_SVG_UNKNOWN_SLOTS(struct ID2D1DeviceContext5);
    void* slots3To29[27];
    void(STDMETHODCALLTYPE* SetTransform)(struct ID2D1DeviceContext5* This,
                                          const D2D1_MATRIX_3X2_F* transform);  // 30
    void* slot31;
    void(STDMETHODCALLTYPE* SetAntialiasMode)(struct ID2D1DeviceContext5* This,
                                              D2D1_ANTIALIAS_MODE mode);  // 32
    void* slots33To41[9];
    HRESULT(STDMETHODCALLTYPE* Flush)(struct ID2D1DeviceContext5* This, D2D1_TAG* tag1,
                                      D2D1_TAG* tag2);  // 42
    void* slots43To46[4];
    void(STDMETHODCALLTYPE* Clear)(struct ID2D1DeviceContext5* This,
                                   const D2D1_COLOR_F* color);  // 47
    void(STDMETHODCALLTYPE* BeginDraw)(struct ID2D1DeviceContext5* This);  // 48
    HRESULT(STDMETHODCALLTYPE* EndDraw)(struct ID2D1DeviceContext5* This, D2D1_TAG* tag1,
                                        D2D1_TAG* tag2);  // 49
    void* slots50To61[12];
    HRESULT(STDMETHODCALLTYPE* CreateBitmapFromDxgiSurface)(
        struct ID2D1DeviceContext5* This, IDXGISurface* surface,
        const D2D1_BITMAP_PROPERTIES1* properties, ID2D1Bitmap1** bitmap);  // 62
    HRESULT(STDMETHODCALLTYPE* CreateEffect)(struct ID2D1DeviceContext5* This, REFCLSID effectId,
                                             ID2D1Effect** effect);  // 63
    void* slots64To73[10];
    void(STDMETHODCALLTYPE* SetTarget)(struct ID2D1DeviceContext5* This,
                                       ID2D1Image* image);  // 74
    void* slots75To82[8];
    void(STDMETHODCALLTYPE* DrawImage)(struct ID2D1DeviceContext5* This, ID2D1Image* image,
                                       const D2D1_POINT_2F* targetOffset,
                                       const D2D1_RECT_F* imageRectangle,
                                       D2D1_INTERPOLATION_MODE interpolationMode,
                                       D2D1_COMPOSITE_MODE compositeMode);  // 83
    void* slots84To114[31];
    HRESULT(STDMETHODCALLTYPE* CreateSvgDocument)(struct ID2D1DeviceContext5* This,
                                                  IStream* inputXmlStream, D2D1_SIZE_F viewportSize,
                                                  ID2D1SvgDocument** document);  // 115
    void(STDMETHODCALLTYPE* DrawSvgDocument)(struct ID2D1DeviceContext5* This,
                                             ID2D1SvgDocument* document);  // 116
    void* slots117To118[2];
};
D2D1_SVG_SLOT(ID2D1DeviceContext5Vtbl, SetTransform, 30);
D2D1_SVG_SLOT(ID2D1DeviceContext5Vtbl, SetAntialiasMode, 32);
D2D1_SVG_SLOT(ID2D1DeviceContext5Vtbl, Flush, 42);
D2D1_SVG_SLOT(ID2D1DeviceContext5Vtbl, Clear, 47);
D2D1_SVG_SLOT(ID2D1DeviceContext5Vtbl, BeginDraw, 48);
D2D1_SVG_SLOT(ID2D1DeviceContext5Vtbl, EndDraw, 49);
D2D1_SVG_SLOT(ID2D1DeviceContext5Vtbl, CreateBitmapFromDxgiSurface, 62);
D2D1_SVG_SLOT(ID2D1DeviceContext5Vtbl, CreateEffect, 63);
D2D1_SVG_SLOT(ID2D1DeviceContext5Vtbl, SetTarget, 74);
D2D1_SVG_SLOT(ID2D1DeviceContext5Vtbl, DrawImage, 83);
D2D1_SVG_SLOT(ID2D1DeviceContext5Vtbl, CreateSvgDocument, 115);
D2D1_SVG_SLOT(ID2D1DeviceContext5Vtbl, DrawSvgDocument, 116);
D2D1_SVG_SLOTS(ID2D1DeviceContext5Vtbl, 119);

struct ID2D1DeviceContext5 {
    const ID2D1DeviceContext5Vtbl* lpVtbl;
    D2D1_SVG_UNKNOWN_WRAPPERS
    void SetTransform(const D2D1_MATRIX_3X2_F* transform) { lpVtbl->SetTransform(this, transform); }
    void SetAntialiasMode(D2D1_ANTIALIAS_MODE mode) { lpVtbl->SetAntialiasMode(this, mode); }
    HRESULT Flush(D2D1_TAG* tag1, D2D1_TAG* tag2) { return lpVtbl->Flush(this, tag1, tag2); }
    void Clear(const D2D1_COLOR_F* color) { lpVtbl->Clear(this, color); }
    void BeginDraw() { lpVtbl->BeginDraw(this); }
    HRESULT EndDraw(D2D1_TAG* tag1, D2D1_TAG* tag2) { return lpVtbl->EndDraw(this, tag1, tag2); }
    HRESULT CreateBitmapFromDxgiSurface(IDXGISurface* surface,
                                        const D2D1_BITMAP_PROPERTIES1* properties,
                                        ID2D1Bitmap1** bitmap) {
        return lpVtbl->CreateBitmapFromDxgiSurface(this, surface, properties, bitmap);
    }
    HRESULT CreateEffect(REFCLSID effectId, ID2D1Effect** effect) {
        return lpVtbl->CreateEffect(this, effectId, effect);
    }
    void SetTarget(ID2D1Image* image) { lpVtbl->SetTarget(this, image); }
    void DrawImage(ID2D1Image* image, const D2D1_POINT_2F* targetOffset,
                   const D2D1_RECT_F* imageRectangle, D2D1_INTERPOLATION_MODE interpolationMode,
                   D2D1_COMPOSITE_MODE compositeMode) {
        lpVtbl->DrawImage(this, image, targetOffset, imageRectangle, interpolationMode,
                          compositeMode);
    }
    HRESULT CreateSvgDocument(IStream* inputXmlStream, D2D1_SIZE_F viewportSize,
                              ID2D1SvgDocument** document) {
        return lpVtbl->CreateSvgDocument(this, inputXmlStream, viewportSize, document);
    }
    void DrawSvgDocument(ID2D1SvgDocument* document) { lpVtbl->DrawSvgDocument(this, document); }
};

// ---- ID2D1SvgDocument ---------------------------------------------------------------------

struct ID2D1SvgDocumentVtbl {
    D2D1_SVG_UNKNOWN_SLOTS(struct ID2D1SvgDocument);
    void(STDMETHODCALLTYPE* GetFactory)(struct ID2D1SvgDocument* This, ID2D1Factory** factory);
    HRESULT(STDMETHODCALLTYPE* SetViewportSize)(struct ID2D1SvgDocument* This, D2D1_SIZE_F size);
    // Struct return in the explicit hidden-pointer form MSVC uses.
    D2D1_SIZE_F*(STDMETHODCALLTYPE* GetViewportSize)(struct ID2D1SvgDocument* This,
                                                     D2D1_SIZE_F* result);
    HRESULT(STDMETHODCALLTYPE* SetRoot)(struct ID2D1SvgDocument* This, ID2D1SvgElement* root);
    void(STDMETHODCALLTYPE* GetRoot)(struct ID2D1SvgDocument* This, ID2D1SvgElement** root);
    HRESULT(STDMETHODCALLTYPE* FindElementById)(struct ID2D1SvgDocument* This, PCWSTR id,
                                                ID2D1SvgElement** element);
    HRESULT(STDMETHODCALLTYPE* Serialize)(struct ID2D1SvgDocument* This, IStream* output,
                                          ID2D1SvgElement* subtree);
    HRESULT(STDMETHODCALLTYPE* Deserialize)(struct ID2D1SvgDocument* This, IStream* input,
                                            ID2D1SvgElement** subtree);
    HRESULT(STDMETHODCALLTYPE* CreatePaint)(struct ID2D1SvgDocument* This,
                                            D2D1_SVG_PAINT_TYPE paintType,
                                            const D2D1_COLOR_F* color, PCWSTR id,
                                            ID2D1SvgPaint** paint);
    HRESULT(STDMETHODCALLTYPE* CreateStrokeDashArray)(struct ID2D1SvgDocument* This,
                                                      const D2D1_SVG_LENGTH* dashes,
                                                      UINT32 dashesCount,
                                                      ID2D1SvgStrokeDashArray** dashArray);
    HRESULT(STDMETHODCALLTYPE* CreatePointCollection)(struct ID2D1SvgDocument* This,
                                                      const D2D1_POINT_2F* points,
                                                      UINT32 pointsCount,
                                                      ID2D1SvgPointCollection** collection);
    HRESULT(STDMETHODCALLTYPE* CreatePathData)(struct ID2D1SvgDocument* This,
                                               const FLOAT* segmentData, UINT32 segmentDataCount,
                                               const D2D1_SVG_PATH_COMMAND* commands,
                                               UINT32 commandsCount, ID2D1SvgPathData** pathData);
};
D2D1_SVG_SLOT(ID2D1SvgDocumentVtbl, GetRoot, 7);
D2D1_SVG_SLOT(ID2D1SvgDocumentVtbl, FindElementById, 8);
D2D1_SVG_SLOTS(ID2D1SvgDocumentVtbl, 15);

struct ID2D1SvgDocument {
    const ID2D1SvgDocumentVtbl* lpVtbl;
    D2D1_SVG_UNKNOWN_WRAPPERS
    void GetRoot(ID2D1SvgElement** root) { lpVtbl->GetRoot(this, root); }
    HRESULT FindElementById(PCWSTR id, ID2D1SvgElement** element) {
        return lpVtbl->FindElementById(this, id, element);
    }
};

// ---- ID2D1SvgElement: slots 27-33 in d2d1.dll's (MSVC) order, not the SDK's text order ----

struct ID2D1SvgElementVtbl {
    D2D1_SVG_UNKNOWN_SLOTS(struct ID2D1SvgElement);
    void(STDMETHODCALLTYPE* GetFactory)(struct ID2D1SvgElement* This, ID2D1Factory** factory);
    void(STDMETHODCALLTYPE* GetDocument)(struct ID2D1SvgElement* This, ID2D1SvgDocument** document);
    HRESULT(STDMETHODCALLTYPE* GetTagName)(struct ID2D1SvgElement* This, PWSTR name,
                                           UINT32 nameCount);
    UINT32(STDMETHODCALLTYPE* GetTagNameLength)(struct ID2D1SvgElement* This);
    BOOL(STDMETHODCALLTYPE* IsTextContent)(struct ID2D1SvgElement* This);
    void(STDMETHODCALLTYPE* GetParent)(struct ID2D1SvgElement* This, ID2D1SvgElement** parent);
    BOOL(STDMETHODCALLTYPE* HasChildren)(struct ID2D1SvgElement* This);
    void(STDMETHODCALLTYPE* GetFirstChild)(struct ID2D1SvgElement* This, ID2D1SvgElement** child);
    void(STDMETHODCALLTYPE* GetLastChild)(struct ID2D1SvgElement* This, ID2D1SvgElement** child);
    HRESULT(STDMETHODCALLTYPE* GetPreviousChild)(struct ID2D1SvgElement* This,
                                                 ID2D1SvgElement* reference,
                                                 ID2D1SvgElement** previous);
    HRESULT(STDMETHODCALLTYPE* GetNextChild)(struct ID2D1SvgElement* This,
                                             ID2D1SvgElement* reference, ID2D1SvgElement** next);
    HRESULT(STDMETHODCALLTYPE* InsertChildBefore)(struct ID2D1SvgElement* This,
                                                  ID2D1SvgElement* newChild,
                                                  ID2D1SvgElement* reference);
    HRESULT(STDMETHODCALLTYPE* AppendChild)(struct ID2D1SvgElement* This, ID2D1SvgElement* child);
    HRESULT(STDMETHODCALLTYPE* ReplaceChild)(struct ID2D1SvgElement* This,
                                             ID2D1SvgElement* newChild, ID2D1SvgElement* oldChild);
    HRESULT(STDMETHODCALLTYPE* RemoveChild)(struct ID2D1SvgElement* This, ID2D1SvgElement* child);
    HRESULT(STDMETHODCALLTYPE* CreateChild)(struct ID2D1SvgElement* This, PCWSTR tagName,
                                            ID2D1SvgElement** child);
    BOOL(STDMETHODCALLTYPE* IsAttributeSpecified)(struct ID2D1SvgElement* This, PCWSTR name,
                                                  BOOL* inherited);
    UINT32(STDMETHODCALLTYPE* GetSpecifiedAttributeCount)(struct ID2D1SvgElement* This);
    HRESULT(STDMETHODCALLTYPE* GetSpecifiedAttributeName)(struct ID2D1SvgElement* This,
                                                          UINT32 index, PWSTR name,
                                                          UINT32 nameCount, BOOL* inherited);
    HRESULT(STDMETHODCALLTYPE* GetSpecifiedAttributeNameLength)(struct ID2D1SvgElement* This,
                                                                UINT32 index, UINT32* nameLength,
                                                                BOOL* inherited);
    HRESULT(STDMETHODCALLTYPE* RemoveAttribute)(struct ID2D1SvgElement* This, PCWSTR name);
    HRESULT(STDMETHODCALLTYPE* SetTextValue)(struct ID2D1SvgElement* This, const WCHAR* text,
                                             UINT32 textLength);
    HRESULT(STDMETHODCALLTYPE* GetTextValue)(struct ID2D1SvgElement* This, PWSTR text,
                                             UINT32 textCount);
    UINT32(STDMETHODCALLTYPE* GetTextValueLength)(struct ID2D1SvgElement* This);
    HRESULT(STDMETHODCALLTYPE* SetAttributeValueInterface)(struct ID2D1SvgElement* This,
                                                           PCWSTR name, ID2D1SvgAttribute* value);
    HRESULT(STDMETHODCALLTYPE* SetAttributeValuePod)(struct ID2D1SvgElement* This, PCWSTR name,
                                                     D2D1_SVG_ATTRIBUTE_POD_TYPE type,
                                                     const void* value, UINT32 valueSize);
    HRESULT(STDMETHODCALLTYPE* SetAttributeValueString)(struct ID2D1SvgElement* This, PCWSTR name,
                                                        D2D1_SVG_ATTRIBUTE_STRING_TYPE type,
                                                        PCWSTR value);
    HRESULT(STDMETHODCALLTYPE* GetAttributeValueInterface)(struct ID2D1SvgElement* This,
                                                           PCWSTR name, REFIID iid, void** value);
    HRESULT(STDMETHODCALLTYPE* GetAttributeValuePod)(struct ID2D1SvgElement* This, PCWSTR name,
                                                     D2D1_SVG_ATTRIBUTE_POD_TYPE type, void* value,
                                                     UINT32 valueSize);
    HRESULT(STDMETHODCALLTYPE* GetAttributeValueString)(struct ID2D1SvgElement* This, PCWSTR name,
                                                        D2D1_SVG_ATTRIBUTE_STRING_TYPE type,
                                                        PWSTR value, UINT32 valueCount);
    HRESULT(STDMETHODCALLTYPE* GetAttributeValueLength)(struct ID2D1SvgElement* This, PCWSTR name,
                                                        D2D1_SVG_ATTRIBUTE_STRING_TYPE type,
                                                        UINT32* valueLength);
};
D2D1_SVG_SLOT(ID2D1SvgElementVtbl, GetFactory, 3);
D2D1_SVG_SLOT(ID2D1SvgElementVtbl, GetTagName, 5);
D2D1_SVG_SLOT(ID2D1SvgElementVtbl, HasChildren, 9);
D2D1_SVG_SLOT(ID2D1SvgElementVtbl, GetFirstChild, 10);
D2D1_SVG_SLOT(ID2D1SvgElementVtbl, GetNextChild, 13);
D2D1_SVG_SLOT(ID2D1SvgElementVtbl, CreateChild, 18);
D2D1_SVG_SLOT(ID2D1SvgElementVtbl, RemoveAttribute, 23);
D2D1_SVG_SLOT(ID2D1SvgElementVtbl, GetTextValueLength, 26);
D2D1_SVG_SLOT(ID2D1SvgElementVtbl, SetAttributeValueInterface, 27);
D2D1_SVG_SLOT(ID2D1SvgElementVtbl, SetAttributeValuePod, 28);
D2D1_SVG_SLOT(ID2D1SvgElementVtbl, SetAttributeValueString, 29);
D2D1_SVG_SLOT(ID2D1SvgElementVtbl, GetAttributeValueInterface, 30);
D2D1_SVG_SLOT(ID2D1SvgElementVtbl, GetAttributeValuePod, 31);
D2D1_SVG_SLOT(ID2D1SvgElementVtbl, GetAttributeValueString, 32);
D2D1_SVG_SLOT(ID2D1SvgElementVtbl, GetAttributeValueLength, 33);
D2D1_SVG_SLOTS(ID2D1SvgElementVtbl, 34);

struct ID2D1SvgElement {
    const ID2D1SvgElementVtbl* lpVtbl;
    D2D1_SVG_UNKNOWN_WRAPPERS
    HRESULT GetTagName(PWSTR name, UINT32 nameCount) {
        return lpVtbl->GetTagName(this, name, nameCount);
    }
    BOOL HasChildren() { return lpVtbl->HasChildren(this); }
    void GetFirstChild(ID2D1SvgElement** child) { lpVtbl->GetFirstChild(this, child); }
    HRESULT GetNextChild(ID2D1SvgElement* reference, ID2D1SvgElement** next) {
        return lpVtbl->GetNextChild(this, reference, next);
    }
    HRESULT RemoveAttribute(PCWSTR name) { return lpVtbl->RemoveAttribute(this, name); }
    HRESULT SetAttributeValue(PCWSTR name, D2D1_SVG_ATTRIBUTE_STRING_TYPE type, PCWSTR value) {
        return lpVtbl->SetAttributeValueString(this, name, type, value);
    }
    HRESULT GetAttributeValue(PCWSTR name, D2D1_SVG_ATTRIBUTE_STRING_TYPE type, PWSTR value,
                              UINT32 valueCount) {
        return lpVtbl->GetAttributeValueString(this, name, type, value, valueCount);
    }
};

#undef D2D1_SVG_UNKNOWN_WRAPPERS
#undef D2D1_SVG_UNKNOWN_SLOTS
#undef D2D1_SVG_SLOTS
#undef D2D1_SVG_SLOT
