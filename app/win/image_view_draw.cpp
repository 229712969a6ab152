// Painting an image slot: background, outline, thumbnail or empty-slot text, and the path.
#include <string>

#include "app/path_ellipsis.h"
#include "app/slot_layout.h"
#include "app/slot_texts.h"
#include "app/thumbnail.h"
#include "app/win/image_view.h"
#include "framework/win/dc.h"

using namespace bistrope;

namespace {

constexpr COLORREF Colour(SlotColour c) { return RGB(c.r, c.g, c.b); }

SlotRect ToSlotRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRect(const SlotRect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

void cImageView::DeleteThumbnail() {
    if (thumbnail) ::DeleteObject(thumbnail);
    thumbnail = nullptr;
}

void cImageView::BuildThumbnail(HDC reference, std::int32_t width, std::int32_t height) {
    const SourceImage* source = document.Picture(eye);
    if (!source) return;
    const SourceImage pixels =
        MakeThumbnail(*source, width, height, Bgr{kSlotBackground.b, kSlotBackground.g, kSlotBackground.r});
    if (pixels.empty()) return;
    // A bitmap in the display's own format, so that a repaint is a plain copy.
    HBITMAP bitmap = ::CreateCompatibleBitmap(reference, width, height);
    if (!bitmap) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows top first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    if (::SetDIBits(reference, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS) !=
        height) {
        ::DeleteObject(bitmap);
        return;
    }
    thumbnail = bitmap;
}

void cImageView::DrawTexts(TWIG4::DC& dc, const RECT& client) {
    TWIG4::Font font(kSlotFontHeight, kSlotFontFace, FW_NORMAL, 0);
    dc.Select(&font);
    dc.SetTextColour(Colour(kSlotTextColour));
    dc.SetBackgroundMode(TRANSPARENT);

    if (!IsLoaded()) {
        RECT whole = client;
        const wchar_t* text = TextsForEye(static_cast<int>(eye)).emptyText;
        dc.DrawText(text, -1, &whole, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (const std::wstring path = SlotCaption(static_cast<int>(eye), GetPath(), document.FromOneFile());
        !path.empty()) {
        RECT strip = ToRect(CaptionStrip(ToSlotRect(client)));
        auto measure = [&dc](const std::wstring& text) {
            SIZE size{};
            dc.GetTextExtent(text.c_str(), static_cast<int>(text.size()), &size);
            return static_cast<std::int32_t>(size.cx);
        };
        const std::wstring caption = ShortenPathMiddle(path, strip.right - strip.left, measure);
        dc.DrawText(caption.c_str(), static_cast<int>(caption.size()), &strip,
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

void cImageView::Draw(TWIG4::DC* dc) {
    if (!handle) return;
    std::unique_ptr<TWIG4::ClientDC> own;
    if (!dc) {
        own = GetDC();
        dc = own.get();
    }
    if (!dc->GetHandle()) return;

    RECT client{};
    GetClientRect(&client);
    {
        // Everything goes through one off-screen bitmap, copied to the window at the end.
        TWIG4::BufferedDC buffer(dc, &client);
        dc->FillRect(&client, Colour(kSlotBackground));
        dc->FrameRect(&client, RGB(0, 0, 0));

        if (const auto size = document.Size(eye); size && document.Picture(eye)) {
            // Placed by the picture's full size: the picture may be a reduced decode.
            const auto place = PlaceThumbnail(ToSlotRect(client), size->width, size->height);
            if (place) {
                BITMAP cached{};
                if (thumbnail && (!::GetObjectW(thumbnail, sizeof(cached), &cached) || cached.bmWidth != place->Width() ||
                                  cached.bmHeight != place->Height()))
                    DeleteThumbnail();  // the slot changed size: made again at the new size
                if (!thumbnail) BuildThumbnail(dc->GetHandle(), place->Width(), place->Height());
                if (thumbnail) {
                    HDC memory = ::CreateCompatibleDC(dc->GetHandle());
                    HGDIOBJ old = ::SelectObject(memory, thumbnail);
                    ::BitBlt(dc->GetHandle(), place->left, place->top, place->Width(), place->Height(), memory, 0, 0,
                             SRCCOPY);
                    ::SelectObject(memory, old);
                    ::DeleteDC(memory);
                }
            }
        }
        DrawTexts(*dc, client);
    }
}

void cImageView::OnPaint() {
    TWIG4::PaintDC dc(handle);
    Draw(&dc);
}

void cImageView::OnPrintClient(HDC hdc) {
    TWIG4::DC dc(hdc);
    Draw(&dc);
}
