#include "app/reg_data.h"

#include "view/texture_limit.h"

namespace {

const wchar_t kGeneral[] = L"General";
const wchar_t kBlending[] = L"Colour blending";
const wchar_t kAdvanced[] = L"Advanced";
const wchar_t kOutput[] = L"Output";
const wchar_t kLeftMatrix[] = L"Custom blending\\left matrix";
const wchar_t kRightMatrix[] = L"Custom blending\\right matrix";

// "M%d%d" of a row and a column.
TWIG4::String ElementName(int row, int col) {
    TWIG4::String name;
    name.Format(L"M%d%d", row, col);
    return name;
}

}  // namespace

cRegData::cRegData(const wchar_t* keyPath, const char* storeFile)
    : TWIG4::PersistentData(keyPath, storeFile),
      leftMatrix(bistrope::FullColourMatrix(bistrope::Eye::Left)),
      rightMatrix(bistrope::FullColourMatrix(bistrope::Eye::Right)) {}

cRegData::~cRegData() { Save(); }

bool cRegData::Load() {
    const bistrope::ColorMatrix leftDefault = bistrope::FullColourMatrix(bistrope::Eye::Left);
    const bistrope::ColorMatrix rightDefault = bistrope::FullColourMatrix(bistrope::Eye::Right);
    TWIG4::StoreBatch batch(*registry);  // the native store is read once
    bool all = true;
    all &= registry->ReadString(kGeneral, L"Left image path", leftImagePath, L"");
    all &= registry->ReadString(kGeneral, L"Right image path", rightImagePath, L"");
    all &= registry->ReadString(kGeneral, L"Output image path", outputImagePath, L"");
    all &= registry->ReadDword(kGeneral, L"Default file view", defaultFileView, 0);
    all &= registry->ReadDword(kBlending, L"Mode", blendMode, kDefaultBlendMode);
    all &= registry->ReadDword(kAdvanced, L"Max tex size", maxTexSize, kDefaultMaxTexSize);
    all &= registry->ReadDword(kOutput, L"JPEG compression", jpegQuality, kDefaultJpegQuality);
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 5; ++j) {
            const TWIG4::String name = ElementName(i, j);
            all &= registry->ReadFloat(kLeftMatrix, name.GetBuffer(), leftMatrix.at(i, j), leftDefault.at(i, j));
            all &= registry->ReadFloat(kRightMatrix, name.GetBuffer(), rightMatrix.at(i, j), rightDefault.at(i, j));
        }
    }
    all &= registry->ReadBool(kGeneral, L"First time run", firstTimeRun, true);
    all &= registry->ReadBool(kGeneral, L"Auto align", autoAlign, false);
    // A stored mode 0 would refuse every conversion, so no picture could be loaded, and the
    // mode buttons that could change it wait for a picture: it reads as the default mode.
    if (blendMode == 0) blendMode = kDefaultBlendMode;
    return all;
}

bool cRegData::Save() {
    TWIG4::StoreBatch batch(*registry);  // the native store is replaced once, atomically
    bool all = true;
    all &= registry->WriteString(kGeneral, L"Left image path", leftImagePath);
    all &= registry->WriteString(kGeneral, L"Right image path", rightImagePath);
    all &= registry->WriteString(kGeneral, L"Output image path", outputImagePath);
    all &= registry->WriteDword(kGeneral, L"Default file view", defaultFileView);
    all &= registry->WriteDword(kBlending, L"Mode", blendMode);
    all &= registry->WriteDword(kAdvanced, L"Max tex size", maxTexSize);
    all &= registry->WriteDword(kOutput, L"JPEG compression", jpegQuality);
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 5; ++j) {
            const TWIG4::String name = ElementName(i, j);
            all &= registry->WriteFloat(kLeftMatrix, name.GetBuffer(), leftMatrix.at(i, j));
            all &= registry->WriteFloat(kRightMatrix, name.GetBuffer(), rightMatrix.at(i, j));
        }
    }
    all &= registry->WriteBool(kGeneral, L"First time run", firstTimeRun);
    all &= registry->WriteBool(kGeneral, L"Auto align", autoAlign);
    all &= batch.Commit();
    return all;
}

bistrope::ConversionSettings cRegData::Conversion() const {
    bistrope::ConversionSettings conversion;
    conversion.mode = static_cast<unsigned>(blendMode);
    conversion.custom = GetCustomMatrices();
    conversion.previewLimit = bistrope::PreviewSizeLimit(maxTexSize, hardwareMaxTexSize);
    return conversion;
}
