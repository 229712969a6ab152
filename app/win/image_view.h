// cImageView: one of the two image slots at the left of the main frame. The upper slot
// shows the left eye of the stereo document, the lower one the right eye: a thumbnail of
// the eye's image under its path, or an invitation to load one. A click loads an image for
// its eye (the load command, ID_LOAD_LEFT or ID_LOAD_RIGHT, sent to the top-level window),
// and a tooltip explains the slot.
//
// The slot holds no image of its own: it listens to the document and redraws when its eye
// is loaded. The thumbnail is a bitmap in the display's format, made at the first paint
// after a load and again when the slot's size changes.
#pragma once

#include <windows.h>

#include "document/stereo_document.h"
#include "framework/string.h"
#include "framework/win/wnd.h"

namespace TWIG4 {
class DC;
}

class cImageView : public TWIG4::Wnd, public bistrope::DocumentListener {
public:
    cImageView(bistrope::Eye eye, bistrope::StereoDocument& document);
    ~cImageView() override;

    // The slot's window: a visible child of `parent` of the framework's child class.
    bool Create(TWIG4::Wnd* parent, int x, int y, int width, int height);

    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    // Paints the slot into `dc`, or into the window's own DC when none is given.
    void Draw(TWIG4::DC* dc = nullptr);

    bistrope::Eye GetEye() const { return eye; }
    // The loaded file's path as shown (empty while nothing is loaded).
    std::wstring GetPath() const;
    bool IsLoaded() const { return document.IsLoaded(eye); }
    // The text a tooltip request is answered with (also kept in `tipText`).
    const wchar_t* BuildToolTipText();

    // --- The document's notices -------------------------------------------------------
    void OnEyeLoaded(bistrope::Eye loaded, const bistrope::ProgressFn& progress) override;
    void OnPreviewsRebuilt(const bistrope::ProgressFn&) override {}
    void OnPairReplaced(const bistrope::ProgressFn& progress) override { OnEyeLoaded(eye, progress); }
    void OnAlignmentChanged() override {}

protected:
    // Message handlers.
    void OnCreate();
    void OnPaint();
    void OnPrintClient(HDC dc);
    void OnLeftButtonDown();
    LRESULT OnNotify(NMHDR* header);

private:
    // Builds `thumbnail` at the given size from the source (nothing when short of memory).
    void BuildThumbnail(HDC reference, std::int32_t width, std::int32_t height);
    void DeleteThumbnail();
    // Draws the caption text (the shortened path) and the empty-slot text.
    void DrawTexts(TWIG4::DC& dc, const RECT& client);

    bistrope::StereoDocument& document;
    const bistrope::Eye eye;
    HBITMAP thumbnail = nullptr;
    TWIG4::String tipText;
};
