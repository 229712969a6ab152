#pragma once
// Device-context wrappers that put back what they changed.
//
//   * DC::Select records, per kind (pen, font, brush), the object the first Select of that
//     kind replaced; the DC's destructor selects those back, so a DC that selected two pens
//     in turn ends with the pen it started with.
//   * A Brush, Font or Pen selected into a DC and destroyed while it is still that DC's
//     current object of its kind selects back the object it replaced, then deletes its
//     handle (unless notOwned). A wrapper that outlives its DC forgets the DC.
//   * PaintDC begins painting a window; it restores the selections before it ends painting.
//   * ClientDC holds a window's client-area DC; it restores the selections, then releases it.
//   * BufferedDC redirects a DC into a memory bitmap of one rectangle (same coordinates)
//     and copies the result back when it is destroyed. Select wrappers into the DC after
//     the BufferedDC exists and destroy them before it.

#include <windows.h>

#include <vector>

namespace TWIG4 {

class DC;

// What Brush, Font and Pen share: the handle, the object it replaced, the DC it is in.
class GdiObject {
public:
    enum class Kind { Pen, Font, Brush };

    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    HGDIOBJ GetHandle() const { return handle; }
    bool IsValid() const { return handle != nullptr; }

    bool notOwned = false;  // the handle is not deleted with the object

protected:
    explicit GdiObject(Kind kind) : kind(kind) {}
    ~GdiObject();

    HGDIOBJ handle = nullptr;
    HGDIOBJ previous = nullptr;  // what it replaced when selected
    DC* dc = nullptr;            // the DC it is selected into

private:
    friend class DC;
    const Kind kind;
};

class Brush : public GdiObject {
public:
    Brush() : GdiObject(Kind::Brush) {}
    explicit Brush(COLORREF colour) : GdiObject(Kind::Brush) { Create(colour); }
    // Creates a solid brush; false when the wrapper already has a handle or creation fails.
    bool Create(COLORREF colour);
    HBRUSH Get() const { return static_cast<HBRUSH>(handle); }
};

class Font : public GdiObject {
public:
    Font() : GdiObject(Kind::Font) {}
    Font(int height, const wchar_t* face, int weight, int angle) : GdiObject(Kind::Font) {
        Create(height, face, weight, angle);
    }
    // angle (tenths of a degree) is both escapement and orientation; antialiased quality.
    // False when the wrapper already has a handle or creation fails.
    bool Create(int height, const wchar_t* face, int weight, int angle);
    HFONT Get() const { return static_cast<HFONT>(handle); }
};

class Pen : public GdiObject {
public:
    Pen() : GdiObject(Kind::Pen) {}
    Pen(int style, int width, COLORREF colour) : GdiObject(Kind::Pen) { Create(style, width, colour); }
    bool Create(int style, int width, COLORREF colour);
    HPEN Get() const { return static_cast<HPEN>(handle); }
};

class DC {
public:
    explicit DC(HDC handle = nullptr) : handle(handle) {}
    virtual ~DC();
    DC(const DC&) = delete;
    DC& operator=(const DC&) = delete;

    HDC GetHandle() const { return handle; }

    // False for a null wrapper or one without a handle.
    bool Select(Brush* brush);
    bool Select(Font* font);
    bool Select(Pen* pen);

    COLORREF SetTextColour(COLORREF colour);
    int SetBackgroundMode(int mode);
    bool GetTextExtent(const wchar_t* text, int length, SIZE* size);
    int DrawText(const wchar_t* text, int length, RECT* rect, UINT flags);
    bool FillRect(const RECT* rect, COLORREF colour);
    POINT MoveTo(int x, int y);  // the previous current point
    bool LineTo(int x, int y);
    // The rectangle's outline, one pixel inside its right and bottom edges.
    bool FrameRect(const RECT* rect, COLORREF colour);
    bool Line(int x1, int y1, int x2, int y2, COLORREF colour);

protected:
    // Selects back the first-replaced pen, font and brush (each when recorded).
    void RestoreObjects();

    HDC handle;

private:
    friend class GdiObject;
    friend class BufferedDC;

    struct Slot {
        HGDIOBJ first = nullptr;    // what the first Select of this kind replaced
        HGDIOBJ current = nullptr;  // what Select put in last
    };
    Slot slots[3];  // indexed by GdiObject::Kind
    std::vector<GdiObject*> attached;

    bool SelectObjectOf(GdiObject* object);
    void Detach(GdiObject* object);
};

class PaintDC : public DC {
public:
    // Begins painting window (none: an empty DC).
    explicit PaintDC(HWND window);
    ~PaintDC() override;

    const PAINTSTRUCT& GetPaintStruct() const { return paint; }

private:
    HWND window;
    PAINTSTRUCT paint{};
};

// The client-area DC of a window (GetDC), selections restored and released on destruction.
// A null window gives an empty DC, not the screen's.
class ClientDC : public DC {
public:
    explicit ClientDC(HWND window);
    ~ClientDC() override;

private:
    HWND window;
};

class BufferedDC {
public:
    // With a null dc or rect it does nothing.
    BufferedDC(DC* dc, const RECT* rect);
    ~BufferedDC();
    BufferedDC(const BufferedDC&) = delete;
    BufferedDC& operator=(const BufferedDC&) = delete;

    bool IsActive() const { return memory != nullptr; }

private:
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    HDC memory = nullptr;
    HDC target = nullptr;
    DC* dc = nullptr;
    RECT rect{};
};

}  // namespace TWIG4
