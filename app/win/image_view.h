// cImageView: one of the two image slots at the left of the main frame. The upper slot
// holds the left-eye image, the lower one the right-eye image. A slot owns the image loaded
// for its eye and the images made from it, shows a thumbnail of it under its path, loads a
// new image when clicked (or for F2 / F3 through the stereo view), and explains itself in
// a tooltip.
//
// Images (engine/image.h): `sourceImage` as decoded from the file, `previewImage` made
// through the current mode's matrix for this eye with power-of-two sides (the stereo
// view's texture), `outputImage` the full-size conversion made when saving. The slot counts
// as loaded while `sourceImage` exists, and holds an image for the stereo view while
// `previewImage` exists; a load replaces all of them together or leaves them all as they
// were, so the two never disagree.
//
// Loading (LoadImageFile): the open dialog in the folder last used for this eye, then a
// repaint of the frame, the progress dialog "Loading image..." in the stereo view, the
// folder and the dialog's view mode stored in the settings, the file decoded, the preview
// made (progress range 0-50), the stereo view's textures rebuilt (50-100), the thumbnail
// remade, OnImagesChanged and Render of the stereo view. A file that cannot be decoded, or
// whose preview cannot be made (for instance for lack of memory), is reported in a message
// box naming the file and the reason, and the slot, its images and the view stay as they
// were.
#pragma once

#include <windows.h>

#include "app/win/prog_dlg.h"
#include "engine/color_matrix.h"
#include "engine/image.h"
#include "engine/status.h"
#include "framework/string.h"
#include "framework/win/wnd.h"
#include "view/image_slot.h"

class cRegData;
class cMainImageView;

namespace TWIG4 {
class DC;
}

class cImageView : public TWIG4::Wnd, public bistrope::ImageSlot {
public:
    // eye: 1 left, 2 right (any other value behaves as the right eye).
    cImageView(bistrope::Eye eye, cRegData& settings);
    ~cImageView() override;

    // The slot's window: a visible child of `parent` of the framework's child class.
    bool Create(TWIG4::Wnd* parent, int x, int y, int width, int height);

    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    // --- ImageSlot ----------------------------------------------------------------------
    void SetOwnerView(cMainImageView* view) override { ownerView = view; }
    // Asks for a file with the open dialog and loads it. False when the user cancelled or
    // the file could not be loaded (after the message).
    bool LoadImageFile() override;
    bool MakePreviewImage(const bistrope::ProgressFn& progress) override;
    bool MakeOutputImage() override;
    const bistrope::ConvertedImage* GetPreviewImage() const override;
    const bistrope::ConvertedImage* GetOutputImage() const override;
    std::int32_t GetSourceWidth() const override;
    std::int32_t GetSourceHeight() const override;

    // The preview with a progress dialog reporting into its current range.
    bool MakePreviewImage(cProgDlg* progress);

    // Loads a file chosen elsewhere: the steps of LoadImageFile after the dialog. False
    // (after the message) when it cannot be loaded.
    bool LoadFile(const wchar_t* filePath);

    // Paints the slot into `dc`, or into the window's own DC when none is given.
    void Draw(TWIG4::DC* dc = nullptr);

    bistrope::Eye GetEye() const { return eye; }
    const TWIG4::String& GetPath() const { return path; }
    bool IsLoaded() const { return !sourceImage.empty(); }
    // The text a tooltip request is answered with (also kept in `tipText`).
    const wchar_t* BuildToolTipText();
    // The cached thumbnail (null until the first paint after a load).
    HBITMAP GetThumbnail() const { return thumbnail; }

protected:
    // Makes a preview of `source` through this eye's matrix of the current mode, within the
    // preview size limit. Virtual so that a test can stand in for a machine that runs out
    // of memory.
    virtual bistrope::Status BuildPreview(const bistrope::SourceImage& source, bistrope::ConvertedImage& preview,
                                          const bistrope::ProgressFn& progress);

    // Shows a failure in a message box owned by the slot (captioned with the frame's title).
    void ReportFailure(const std::wstring& text);

    // Message handlers.
    void OnCreate();
    void OnPaint();
    void OnPrintClient(HDC dc);
    void OnLeftButtonDown();
    LRESULT OnNotify(NMHDR* header);

    // Fields, in the order the slot keeps them.
    cMainImageView* ownerView = nullptr;
    cRegData& settings;
    TWIG4::String path;
    bistrope::SourceImage sourceImage;
    bistrope::ConvertedImage previewImage;
    bistrope::ConvertedImage outputImage;
    HBITMAP thumbnail = nullptr;  // the scaled copy, in the display's format
    bistrope::Eye eye;
    TWIG4::String tipText;

private:
    // The folder setting of this eye.
    TWIG4::String& FolderSetting();
    // Builds `thumbnail` at the given size from the source (nothing when short of memory).
    void BuildThumbnail(HDC reference, std::int32_t width, std::int32_t height);
    void DeleteThumbnail();
    // Draws the caption text (the shortened path) and the empty-slot text.
    void DrawTexts(TWIG4::DC& dc, const RECT& client);
};
