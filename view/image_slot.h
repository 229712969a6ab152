#pragma once
// What the stereo view needs from an image slot (the application's cImageView): the images
// of one eye and the operations that make them.
//
// The stereo view holds one ImageSlot per eye and never owns it. Everywhere in the view a
// slot holds an image exactly when GetPreviewImage() is not null. Source sizes are -1
// while nothing is loaded.

#include <cstdint>
#include <optional>

#include "engine/image.h"
#include "engine/output_rect.h"
#include "engine/progress.h"

class cMainImageView;

namespace bistrope {

class ImageSlot {
public:
    // The stereo view announces itself; the slot calls back RebuildTextures,
    // OnImagesChanged and Render after a load.
    virtual void SetOwnerView(cMainImageView* view) = 0;

    // Asks for a file and loads it (see the slot). True when an image was loaded.
    virtual bool LoadImageFile() = 0;

    // Remakes the preview image through the current mode's matrix for this slot's eye.
    // True when a new preview was made; otherwise the previous one stays.
    virtual bool MakePreviewImage(const ProgressFn& progress) = 0;
    // Makes the full-size converted image for a save. True when a new one was made.
    virtual bool MakeOutputImage() = 0;

    [[nodiscard]] virtual const ConvertedImage* GetPreviewImage() const = 0;
    [[nodiscard]] virtual const ConvertedImage* GetOutputImage() const = 0;
    [[nodiscard]] virtual std::int32_t GetSourceWidth() const = 0;
    [[nodiscard]] virtual std::int32_t GetSourceHeight() const = 0;

    [[nodiscard]] bool HoldsImage() const { return GetPreviewImage() != nullptr; }

protected:
    ~ImageSlot() = default;
};

// The source size of a slot that holds an image, or none.
[[nodiscard]] inline std::optional<ImageSize> HeldImageSize(const ImageSlot& slot) {
    if (!slot.HoldsImage()) return std::nullopt;
    return ImageSize{slot.GetSourceWidth(), slot.GetSourceHeight()};
}

// Where the stereo view writes its status texts (the frame window's status bar). Panes:
// 0 mode hint, 1 zoom, 2 output size, 3 offset, 4 rotation (view/status_text.h).
class StatusPanes {
public:
    virtual void SetStatusText(int pane, const wchar_t* text) = 0;

protected:
    ~StatusPanes() = default;
};

}  // namespace bistrope
