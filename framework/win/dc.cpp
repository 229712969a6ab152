#include "framework/win/dc.h"

#include <algorithm>

namespace TWIG4 {

// GdiObject

GdiObject::~GdiObject() {
    if (dc) {
        DC::Slot& slot = dc->slots[static_cast<int>(kind)];
        if (slot.current == handle && handle) {
            // Put back what this one replaced; if that is gone, what the DC started with.
            if (!previous || !SelectObject(dc->handle, previous)) {
                if (slot.first) SelectObject(dc->handle, slot.first);
                slot.current = slot.first;
            } else {
                slot.current = previous;
            }
        }
        dc->Detach(this);
    }
    if (handle && !notOwned) DeleteObject(handle);
}

bool Brush::Create(COLORREF colour) {
    if (handle) return false;
    handle = CreateSolidBrush(colour);
    return handle != nullptr;
}

bool Font::Create(int height, const wchar_t* face, int weight, int angle) {
    if (handle) return false;
    handle = CreateFontW(height, 0, angle, angle, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
    return handle != nullptr;
}

bool Pen::Create(int style, int width, COLORREF colour) {
    if (handle) return false;
    handle = CreatePen(style, width, colour);
    return handle != nullptr;
}

// DC

DC::~DC() {
    RestoreObjects();
    for (GdiObject* object : attached) object->dc = nullptr;
    attached.clear();
}

void DC::RestoreObjects() {
    if (!handle) return;
    for (Slot& slot : slots) {
        if (slot.first) SelectObject(handle, slot.first);
        slot.current = slot.first;
    }
}

void DC::Detach(GdiObject* object) {
    attached.erase(std::remove(attached.begin(), attached.end(), object), attached.end());
    object->dc = nullptr;
}

bool DC::SelectObjectOf(GdiObject* object) {
    if (!object || !object->handle || !handle) return false;
    const HGDIOBJ replaced = SelectObject(handle, object->handle);
    if (!replaced || replaced == HGDI_ERROR) return false;
    if (object->dc && object->dc != this) object->dc->Detach(object);
    if (replaced != object->handle) object->previous = replaced;  // selecting it twice keeps the first
    Slot& slot = slots[static_cast<int>(object->kind)];
    if (!slot.first) slot.first = replaced;
    slot.current = object->handle;
    if (object->dc != this) {
        object->dc = this;
        attached.push_back(object);
    }
    return true;
}

bool DC::Select(Brush* brush) { return SelectObjectOf(brush); }
bool DC::Select(Font* font) { return SelectObjectOf(font); }
bool DC::Select(Pen* pen) { return SelectObjectOf(pen); }

COLORREF DC::SetTextColour(COLORREF colour) { return SetTextColor(handle, colour); }
int DC::SetBackgroundMode(int mode) { return SetBkMode(handle, mode); }

bool DC::GetTextExtent(const wchar_t* text, int length, SIZE* size) {
    if (!size) return false;
    return GetTextExtentPoint32W(handle, text, length, size) != FALSE;
}

int DC::DrawText(const wchar_t* text, int length, RECT* rect, UINT flags) {
    if (!rect) return 0;
    return ::DrawTextW(handle, text, length, rect, flags);
}

bool DC::FillRect(const RECT* rect, COLORREF colour) {
    if (!rect) return false;
    const HBRUSH brush = CreateSolidBrush(colour);
    if (!brush) return false;
    const bool ok = ::FillRect(handle, rect, brush) != 0;
    DeleteObject(brush);
    return ok;
}

POINT DC::MoveTo(int x, int y) {
    POINT previous{0, 0};
    MoveToEx(handle, x, y, &previous);
    return previous;
}

bool DC::LineTo(int x, int y) { return ::LineTo(handle, x, y) == 1; }

bool DC::FrameRect(const RECT* rect, COLORREF colour) {
    if (!rect) return false;
    const HPEN pen = CreatePen(PS_SOLID, 0, colour);
    const HGDIOBJ old = pen ? SelectObject(handle, pen) : nullptr;
    MoveTo(rect->left, rect->top);
    LineTo(rect->right - 1, rect->top);
    LineTo(rect->right - 1, rect->bottom - 1);
    LineTo(rect->left, rect->bottom - 1);
    LineTo(rect->left, rect->top);
    if (old) SelectObject(handle, old);
    if (pen) DeleteObject(pen);
    return true;
}

bool DC::Line(int x1, int y1, int x2, int y2, COLORREF colour) {
    const HPEN pen = CreatePen(PS_SOLID, 0, colour);
    const HGDIOBJ old = pen ? SelectObject(handle, pen) : nullptr;
    MoveTo(x1, y1);
    LineTo(x2, y2);
    if (old) SelectObject(handle, old);
    if (pen) DeleteObject(pen);
    return true;
}

// PaintDC

PaintDC::PaintDC(HWND window) : DC(nullptr), window(window) {
    if (window) handle = BeginPaint(window, &paint);
}

PaintDC::~PaintDC() {
    RestoreObjects();  // while the paint context is still valid
    if (window && handle) EndPaint(window, &paint);
    handle = nullptr;  // nothing left for the DC destructor to touch
}

ClientDC::ClientDC(HWND window) : DC(nullptr), window(window) {
    if (window) handle = ::GetDC(window);
}

ClientDC::~ClientDC() {
    RestoreObjects();  // while the context is still held
    if (window && handle) ::ReleaseDC(window, handle);
    handle = nullptr;
}

// BufferedDC

BufferedDC::BufferedDC(DC* dc, const RECT* rect) {
    if (!dc || !rect || !dc->handle) return;
    const int width = rect->right - rect->left, height = rect->bottom - rect->top;
    if (width <= 0 || height <= 0) return;
    memory = CreateCompatibleDC(dc->handle);
    if (!memory) return;
    bitmap = CreateCompatibleBitmap(dc->handle, width, height);
    if (!bitmap) {
        DeleteDC(memory);
        memory = nullptr;
        return;
    }
    oldBitmap = SelectObject(memory, bitmap);
    SetWindowOrgEx(memory, rect->left, rect->top, nullptr);
    this->dc = dc;
    this->rect = *rect;
    target = dc->handle;
    dc->handle = memory;
    BitBlt(memory, rect->left, rect->top, width, height, target, rect->left, rect->top, SRCCOPY);
}

BufferedDC::~BufferedDC() {
    if (!memory) return;
    BitBlt(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, memory, rect.left, rect.top,
           SRCCOPY);
    dc->handle = target;
    SelectObject(memory, oldBitmap);
    DeleteDC(memory);
    DeleteObject(bitmap);
}

}  // namespace TWIG4
