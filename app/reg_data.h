#pragma once
// cRegData: the application's settings record. It lives under one key of the current
// user's settings store (the program passes kSettingsKey), with these sections and values:
//
//   "General"                      "Left image path", "Right image path", "Output image path"
//                                  (strings), "Default file view" (number), "First time run"
//                                  and "Auto align" (numbers, 1 or 0)
//   "Colour blending"              "Mode" (number)
//   "Advanced"                     "Max tex size" (number)
//   "Output"                       "JPEG compression" (number)
//   "Custom blending\left matrix"  M00 ... M44: 25 strings, "%.8f" of each element
//   "Custom blending\right matrix" the same for the right matrix
//
// The owner calls Load right after construction; the destructor saves. A value that cannot be
// read leaves its field at the default; nothing else is checked (a "Mode" of 9 or a quality of
// 150 is loaded as it is; their users decide).

#include <cstdint>

#include "document/stereo_document.h"
#include "engine/color_matrix.h"
#include "framework/persistent_data.h"
#include "framework/string.h"

class cRegData : public TWIG4::PersistentData {
public:
    static constexpr const wchar_t* kSettingsKey = L"Software\\Bistrope1.2.1";

    // Defaults.
    static constexpr std::int32_t kDefaultBlendMode = 2;
    static constexpr std::uint32_t kDefaultMaxTexSize = 4096;
    static constexpr std::int32_t kDefaultJpegQuality = 80;

    // keyPath: kSettingsKey in the program, a test-only key in tests. storeFile: the native
    // build's store file (null: the default one); the Windows build ignores it.
    explicit cRegData(const wchar_t* keyPath, const char* storeFile = nullptr);
    ~cRegData() override;

    // True only when every value was read / written.
    bool Load() override;
    bool Save() override;

    // The custom matrices in the form the blend-matrix selection takes.
    bistrope::CustomMatrices GetCustomMatrices() const { return {leftMatrix, rightMatrix}; }
    // What the document's conversions read: mode, matrices and the preview size bound
    // (view/texture_limit.h).
    bistrope::ConversionSettings Conversion() const;

    // Fields, in declaration order. Folders are the chosen file's path before its last
    // backslash.
    TWIG4::String leftImagePath;
    TWIG4::String rightImagePath;
    TWIG4::String outputImagePath;
    std::int32_t defaultFileView = 0;
    std::int32_t blendMode = kDefaultBlendMode;
    bistrope::ColorMatrix leftMatrix;
    bistrope::ColorMatrix rightMatrix;
    bool matricesChanged = false;                       // not stored
    std::uint32_t maxTexSize = kDefaultMaxTexSize;      // compared unsigned everywhere
    std::uint32_t hardwareMaxTexSize = 0;               // not stored; set when the preview exists
    bool maxTexSizeChanged = false;                     // not stored
    std::int32_t jpegQuality = kDefaultJpegQuality;
    bool firstTimeRun = true;
    bool autoAlign = false;  // align the eyes automatically once both are loaded
};
