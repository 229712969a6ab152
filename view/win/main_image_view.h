// cMainImageView: the stereo view, the OpenGL window in the middle of the frame that shows
// the live red-cyan preview of the two image slots and carries the alignment of the left
// image.
//
// Layout of the class (each group lives in its own source file):
//   main_image_view.cpp           construction, alignment and output rectangle, image
//                                 changes, status line, interaction host
//   main_image_view_textures.cpp  the two preview textures and the texture limit
//   main_image_view_render.cpp    Render, SuspendDrawing, ResumeDrawing
//   main_image_view_messages.cpp  WndProc and the window's message handlers
// The window's commands and mouse handling are added as further handlers and cases of the
// same WndProc; the interaction state (mode, drags) is `interaction`, whose handlers
// (view/interaction.h) the mouse messages call.
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

#include "engine/output_rect.h"
#include "engine/progress.h"
#include "framework/win/oglview.h"
#include "framework/win/wnd.h"
#include <string>

#include "view/command_table.h"
#include "view/image_slot.h"
#include "view/interaction.h"

class cRegData;

namespace TWIG4 {
class DC;
struct UpdateUIRecord;
}

class cMainImageView : public TWIG4::Wnd, public TWIG4::OGLView {
public:
    // Keeps the four references (none is owned) and gives each slot a reference back to
    // this view. No window yet; mode None, alignment 0, drawing enabled, empty output
    // rectangle.
    cMainImageView(bistrope::ImageSlot& leftSlot, bistrope::ImageSlot& rightSlot, bistrope::StatusPanes& frame,
                   cRegData& settings);
    ~cMainImageView() override;

    // Creates the view's window: a visible child of `parent` of the framework's child
    // class at the given place. The create message makes the context and the textures.
    bool Create(TWIG4::Wnd* parent, int x, int y, int width, int height);

    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    // --- Preview textures -------------------------------------------------------------
    // Replaces both texture names by two new ones and fills each from its slot's preview
    // image (left first); reports 50 before any texture work and 100 after the left
    // texture. Ends with UpdateOutputRect. Always true. The caller redraws.
    bool RebuildTextures(const bistrope::ProgressFn& progress = {});
    // Reads the implementation's maximum texture size into the settings: lowers maxTexSize
    // to it when larger and records it in hardwareMaxTexSize (view/texture_limit.h).
    void QueryTextureLimit();
    // The texture name of an eye (0 left, 1 right).
    GLuint GetTexture(int index) const { return index == 0 || index == 1 ? textures[index] : 0; }

    // --- Drawing ----------------------------------------------------------------------
    // Draws one frame into `dc`, or into the window's own DC when none is given. False
    // (and nothing drawn) while drawing is suspended.
    bool Render(TWIG4::DC* dc = nullptr);
    // Drawing is suspended while one of the program's tooltips is shown. Resuming does
    // not redraw.
    void SuspendDrawing() { drawEnabled = false; }
    void ResumeDrawing() { drawEnabled = true; }
    bool IsDrawingEnabled() const { return drawEnabled; }

    // --- Alignment and output rectangle -----------------------------------------------
    // Recomputes the output rectangle from the slots' images and the alignment. Neither
    // redraws nor touches the status line.
    void UpdateOutputRect();
    // Zero offsets and rotation, then UpdateOutputRect.
    void ResetAlignment();
    const bistrope::OutputRect& GetOutputRect() const { return OutputRect; }
    const bistrope::Alignment& GetAlignment() const { return alignment; }
    // Sets offsetX, offsetY and rotation as they are (the drags keep rotation in range).
    void SetAlignment(const bistrope::Alignment& value) { alignment = value; }

    // --- Images and view state --------------------------------------------------------
    // After a slot loaded an image (and at the window's creation): status line, alignment
    // reset, Zoom All, and the mode: PanLeft with both images, PanView with one. The
    // caller redraws.
    void OnImagesChanged();
    // Fits the loaded images into the view (zoom kept within 0.25 to 32), then refreshes
    // the status line.
    void ZoomAll();
    // Writes status panes 1 to 4. Always true.
    bool UpdateStatusPanes();
    // Switches the interaction mode (refused during a drag and without the images the mode
    // needs).
    bool SetInteractionMode(bistrope::InteractionMode mode);
    bistrope::InteractionMode GetInteractionMode() const { return interaction.Mode(); }

    bool HasLeftImage() const { return leftSlot.HoldsImage(); }
    bool HasRightImage() const { return rightSlot.HoldsImage(); }

    // --- Commands (main_image_view_commands.cpp, main_image_view_save.cpp) --------------
    // What the command table (view/command_table.h) looks at now.
    bistrope::CommandContext GetCommandContext() const;
    // Carries out a command of the table; blending commands always store their mode, the
    // others run only while enabled. False when refused or when the command failed.
    bool ExecuteCommand(int commandId);
    // Stores the blending mode; with both images rebuilds both previews and the textures
    // under a progress dialog and redraws. True when it rebuilt.
    bool RegenerateBlend(int mode);
    // The settings sheet; after OK with changed matrices or texture size the previews are
    // rebuilt. Returns the sheet's result.
    int OpenSettings();
    void ShowAbout();
    // The save dialog, then WriteOutputImage. False when cancelled, refused or failed.
    bool SaveOutputImage();
    // Renders the anaglyph at full size and writes it as a JPEG file to `path`; a failure is
    // shown in a message box naming the file and the reason, and an existing file of that
    // name stays as it was. False when refused (CanSave) or failed.
    bool WriteOutputImage(const wchar_t* path);
    // Both images and a non-empty output rectangle.
    bool CanSave() const;
    // The double-click frame-rate measurement and its message box; returns the box's text.
    std::wstring RunFrameBenchmark();

protected:
    // The implementation's maximum texture size (GL_MAX_TEXTURE_SIZE with the context
    // current; 0 when it cannot be read). Virtual so that a test can stand in for an
    // implementation with another limit.
    virtual GLint QueryImplementationTextureSize();

    // Message handlers.
    void OnCreate();
    void OnDestroy() override;
    void OnSize(int width, int height);
    void OnPaint();
    // Commands and input (main_image_view_commands.cpp, main_image_view_input.cpp).
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnUpdateUI(int commandId, TWIG4::UpdateUIRecord& record) const;
    void RebuildPreviews();
    void ReportSaveFailure(const wchar_t* path, const std::string& reason);
    LRESULT OnSetCursor(LPARAM lParam);
    void OnContextMenu();
    void OnMouseButton(UINT message, LPARAM lParam);
    void OnCaptureChanged(HWND newOwner);
    LRESULT OnMouseWheel(WPARAM wParam);
    void OnLeftDoubleClick();

    bistrope::ImageSlot& leftSlot;
    bistrope::ImageSlot& rightSlot;
    bistrope::StatusPanes& frame;
    cRegData& settings;
    bistrope::Alignment alignment;    // offsetX, offsetY, rotation
    bistrope::OutputRect OutputRect;  // in the alignment frame; (0, 0, 0, 0) at start
    GLuint textures[2] = {0, 0};      // [0] left preview, [1] right preview
    bool drawEnabled = true;

private:
    // The camera kept by the OpenGL base.
    TWIG4::Camera& ViewCamera();

    // What the drags and mode changes ask of the window (view/interaction.h).
    class InteractionBridge : public bistrope::InteractionHost {
    public:
        explicit InteractionBridge(cMainImageView& view) : view(view) {}
        bool HasLeftImage() const override { return view.HasLeftImage(); }
        bool HasRightImage() const override { return view.HasRightImage(); }
        void CaptureMouse() override;
        void ReleaseMouse() override;
        void SetCursor(int cursorId) override;
        void Render() override { view.Render(nullptr); }
        void UpdateStatus() override { view.UpdateStatusPanes(); }
        void SetModeHint(const std::wstring& text) override;
        void UpdateOutputRect() override { view.UpdateOutputRect(); }

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
