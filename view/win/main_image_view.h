// cMainImageView: the stereo view, the OpenGL window in the middle of the frame that shows
// the live red-cyan preview of the stereo document (document/stereo_document.h) and lets
// the user align its left image with the mouse.
//
// The view holds no images and no alignment of its own: it draws the document's previews
// and alignment, listens to the document and redraws when either changes, and hands the
// alignment drags back to the document. Commands are the application's: a WM_COMMAND that
// reaches the view (its context menu's items and state queries) goes on to its top-level
// window.
//
// Layout of the class (each group lives in its own source file):
//   main_image_view.cpp           construction, document changes, status line, interaction
//                                 host, frame-rate measurement
//   main_image_view_textures.cpp  the two preview textures and the texture limit
//   main_image_view_render.cpp    Render
//   main_image_view_messages.cpp  WndProc and the window's message handlers
//   main_image_view_input.cpp     cursor, context menu and mouse messages
//
// Drawing conventions: the preview is drawn in the alignment frame (engine/output_rect.h),
// the right image upright at the origin, the left image placed by LeftImageTransform
// (view/preview_geometry.h). textures[0] holds the left preview, textures[1] the right one;
// the left eye writes only red (and alpha), the right eye only green and blue, so the
// preview is red-cyan whatever the blending matrices produce.
//
// The OpenGL context is current from the window's creation on (TWIG4::OGLView), so the
// texture operations may be called outside a frame.
#pragma once

#include <windows.h>

#include <GL/gl.h>

#include <string>

#include "document/stereo_document.h"
#include "engine/progress.h"
#include "framework/win/oglview.h"
#include "framework/win/wnd.h"
#include "view/interaction.h"
#include "view/status_text.h"

namespace TWIG4 {
class DC;
}

class cMainImageView : public TWIG4::Wnd, public TWIG4::OGLView, public bistrope::DocumentListener {
public:
    // Listens to `document` from here on; neither reference is owned. No window yet; mode
    // None, drawing enabled.
    cMainImageView(bistrope::StereoDocument& document, bistrope::StatusPanes& frame);
    ~cMainImageView() override;

    // Creates the view's window: a visible child of `parent` of the framework's child
    // class at the given place. The create message makes the context and the textures.
    bool Create(TWIG4::Wnd* parent, int x, int y, int width, int height);

    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    // --- Preview textures -------------------------------------------------------------
    // Replaces both texture names by two new ones and fills each from the document's
    // preview of its eye (left first); reports 50 before any texture work and 100 after the
    // left texture. The caller redraws.
    void RebuildTextures(const bistrope::ProgressFn& progress = {});
    // Fills one eye's texture, under its present name, from the document's preview.
    void UploadEye(bistrope::Eye eye);
    // The implementation's maximum texture size (GL_MAX_TEXTURE_SIZE with the context
    // current; 0 when it cannot be read). Virtual so that a test can stand in for an
    // implementation with another limit.
    virtual GLint QueryImplementationTextureSize();

    // --- Drawing ----------------------------------------------------------------------
    // Draws one frame into `dc`, or into the window's own DC when none is given. False
    // (and nothing drawn) while drawing is suspended.
    bool Render(TWIG4::DC* dc = nullptr);
    // Drawing is suspended while one of the program's tooltips is shown. Resuming does
    // not redraw.
    void SuspendDrawing() { drawEnabled = false; }
    void ResumeDrawing() { drawEnabled = true; }

    // --- View state -------------------------------------------------------------------
    // After an eye was loaded (and at the window's creation): status line, Zoom All, and
    // the mode: PanLeft with both images, PanView with one. The caller redraws.
    void OnImagesChanged();
    // Fits the loaded images into the view (zoom kept within 0.25 to 32), then refreshes
    // the status line.
    void ZoomAll();
    // Writes status panes 1 to 4.
    void UpdateStatusPanes();
    // Switches the interaction mode (refused during a drag and without the images the mode
    // needs).
    bool SetInteractionMode(bistrope::InteractionMode mode);
    bistrope::InteractionMode GetInteractionMode() const { return interaction.Mode(); }
    bistrope::StereoDocument& GetDocument() { return document; }

    // The double-click frame-rate measurement and its message box; returns the box's text.
    std::wstring RunFrameBenchmark();

    // --- The document's notices -------------------------------------------------------
    void OnEyeLoaded(bistrope::Eye eye, const bistrope::ProgressFn& progress) override;
    void OnPreviewsRebuilt(const bistrope::ProgressFn& progress) override;
    void OnPairReplaced(const bistrope::ProgressFn& progress) override;
    void OnAlignmentChanged() override;

protected:
    // Message handlers.
    void OnCreate();
    void OnDestroy() override;
    void OnSize(int width, int height);
    void OnPaint();
    void OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCursor(LPARAM lParam);
    void OnContextMenu();
    void OnMouseButton(UINT message, LPARAM lParam);
    void OnCaptureChanged(HWND newOwner);
    LRESULT OnMouseWheel(WPARAM wParam);
    void OnLeftDoubleClick();

    bistrope::StereoDocument& document;
    bistrope::StatusPanes& frame;
    GLuint textures[2] = {0, 0};  // [0] left preview, [1] right preview
    bool drawEnabled = true;
    bool benchmarkRunning = false;  // status panes are left alone while frames are timed

private:
    // The camera kept by the OpenGL base.
    TWIG4::Camera& ViewCamera();

    // What the drags and mode changes ask of the window (view/interaction.h).
    class InteractionBridge : public bistrope::InteractionHost {
    public:
        explicit InteractionBridge(cMainImageView& view) : view(view) {}
        bool HasLeftImage() const override { return view.document.HasPreview(bistrope::Eye::Left); }
        bool HasRightImage() const override { return view.document.HasPreview(bistrope::Eye::Right); }
        void CaptureMouse() override;
        void ReleaseMouse() override;
        void SetCursor(int cursorId) override;
        void Render() override { view.Render(nullptr); }
        void UpdateStatus() override { view.UpdateStatusPanes(); }
        void SetModeHint(const std::wstring& text) override;
        bistrope::Alignment GetAlignment() const override { return view.document.GetAlignment(); }
        void SetAlignment(const bistrope::Alignment& alignment) override { view.document.SetAlignment(alignment); }

    private:
        cMainImageView& view;
    };
    InteractionBridge bridge{*this};

protected:
    bistrope::ViewInteraction interaction;  // mode and drag state

private:
    // Fills the bound texture from a preview image.
    static void UploadPreview(const bistrope::ConvertedImage& preview);
    // Draws an image quad of the given source size at a depth (nothing when too small).
    static void DrawImageQuad(std::int32_t sourceWidth, std::int32_t sourceHeight, double depth);
    // The black-and-yellow dashed frame around a non-empty output rectangle.
    void DrawOutputFrame() const;
};
