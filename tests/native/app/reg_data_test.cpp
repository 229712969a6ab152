// cRegData over the native file store: defaults, the 59 stored values with their kinds,
// encodings and order, odd stored values and damaged stores. How the store reads and writes
// each kind is checked by the registry scenarios (tests/native/framework).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/reg_data.h"
#include "framework/temp_store.h"

using namespace bistrope;

namespace {

const wchar_t* const kKey = cRegData::kSettingsKey;
const std::u16string kKeyUnits = u"Software\\Bistrope1.2.1";

class SettingsRecord : public ::testing::Test {
protected:
    TempStore temp;

    std::unique_ptr<cRegData> Open() {
        auto data = std::make_unique<cRegData>(kKey, temp.File().c_str());
        data->Load();
        return data;
    }
    // The record as the next run reads a whole store whose first value `name` is stored as
    // `value` (the store's text after the equals sign) instead.
    std::unique_ptr<cRegData> OpenWith(const std::string& name, const std::string& value) {
        std::filesystem::remove(temp.File());
        Open().reset();
        std::string text = temp.Text();
        const std::size_t at = text.find("\"" + name + "\"=") + name.size() + 3;
        temp.Write(text.replace(at, text.find('\n', at) - at, value));
        return Open();
    }
    static void ExpectDefaults(const cRegData& d) {
        EXPECT_EQ(std::wstring(d.leftImagePath.GetBuffer()) + d.rightImagePath.GetBuffer() + d.outputImagePath.GetBuffer(), L"");
        // The run-only values (the last three) start afresh.
        EXPECT_EQ(std::tuple(d.defaultFileView, d.blendMode, d.maxTexSize, d.jpegQuality, d.firstTimeRun, d.autoAlign,
                             d.matricesChanged, d.maxTexSizeChanged, d.hardwareMaxTexSize),
                  std::tuple(0, 2, 4096u, 80, true, false, false, false, 0u));
        EXPECT_EQ(std::pair(d.leftMatrix, d.rightMatrix), std::pair(FullColourMatrix(Eye::Left), FullColourMatrix(Eye::Right)));
    }
};

// Every field gets a value of its own, so a field saved or loaded under another's name shows.
TEST_F(SettingsRecord, The59ValuesAreStoredInOrderWithTheirKindsAndSurviveARestart) {
    {
        auto data = Open();
        data->leftImagePath.Assign(L"C:\\stereo\\left");
        data->rightImagePath.Assign(L"D:\\r\u00e9sum\u00e9 \U0001F600");
        data->outputImagePath.Assign(L"E:\\out");
        data->defaultFileView = 3, data->blendMode = 5, data->maxTexSize = 2048, data->jpegQuality = 95;
        data->firstTimeRun = false, data->autoAlign = true;
        data->leftMatrix.at(0, 0) = 0.299f, data->leftMatrix.at(1, 0) = 0.587f, data->rightMatrix.at(1, 2) = -0.25f;
        data->matricesChanged = data->maxTexSizeChanged = true, data->hardwareMaxTexSize = 8192;
    }  // destruction saves
    // Keys appear in the order they were first written, values likewise.
    std::vector<std::u16string> expected = {u"General\\Left image path", u"General\\Right image path",
        u"General\\Output image path", u"General\\Default file view", u"General\\First time run", u"General\\Auto align",
        u"Colour blending\\Mode", u"Advanced\\Max tex size", u"Output\\JPEG compression"};
    for (const std::u16string matrix : {u"Custom blending\\left matrix", u"Custom blending\\right matrix"})
        for (char16_t i = u'0'; i < u'5'; ++i)
            for (char16_t j = u'0'; j < u'5'; ++j) expected.push_back(matrix + u"\\M" + i + j);
    std::vector<std::u16string> listed;
    const TWIG4::FileStore store = temp.Load();
    for (const TWIG4::StoredKey& key : store.Keys())
        for (const auto& value : key.values) listed.push_back(key.path.substr(kKeyUnits.size() + 1) + u"\\" + value.name);
    EXPECT_EQ(listed, expected);
    // One of each kind: text, number, flag, matrix element ("%.8f").
    for (const char* line : {"\"Left image path\"=\"C:\\\\stereo\\\\left\"\n", "\"Mode\"=dword:00000005\n",
                             "\"Auto align\"=dword:00000001\n", "\"M00\"=\"0.29899999\"\n"})
        EXPECT_NE(temp.Text().find(line), std::string::npos) << line;

    auto data = Open();
    EXPECT_EQ(std::wstring(data->leftImagePath.GetBuffer()) + L"|" + data->rightImagePath.GetBuffer() + L"|" +
                  data->outputImagePath.GetBuffer(), L"C:\\stereo\\left|D:\\r\u00e9sum\u00e9 \U0001F600|E:\\out");
    // The run-only values are not stored; the eight decimals bring each float back exactly.
    EXPECT_EQ(std::tuple(data->defaultFileView, data->blendMode, data->maxTexSize, data->jpegQuality, data->firstTimeRun,
                         data->autoAlign, data->matricesChanged, data->maxTexSizeChanged, data->hardwareMaxTexSize),
              std::tuple(3, 5, 2048u, 95, false, true, false, false, 0u));
    EXPECT_EQ(std::tuple(data->leftMatrix.at(0, 0), data->leftMatrix.at(1, 0), data->rightMatrix.at(1, 2)),
              std::tuple(0.299f, 0.587f, -0.25f));
    EXPECT_TRUE(data->Load());  // every value was there

    // What the document's conversions read: the preview size held to the hardware's.
    data->hardwareMaxTexSize = 4096;
    const ConversionSettings c = data->Conversion();
    EXPECT_EQ(std::tuple(c.mode, c.custom.left, c.custom.right, c.previewLimit),
              std::tuple(5u, data->leftMatrix, data->rightMatrix, 2048u));
    data->maxTexSize = 0xFFFFFFFFu;  // a negative number typed
    EXPECT_EQ(data->Conversion().previewLimit, 4096u);
}

TEST_F(SettingsRecord, OddStoredValuesLoadAsTheirEncodingsSay) {
    // Modes are copied as they are, their users decide; only 0 reads as the default, so that
    // pictures can still be loaded.
    EXPECT_EQ(OpenWith("Mode", "dword:00000009")->Conversion().mode, 9u);
    EXPECT_EQ(OpenWith("Mode", "dword:00000000")->Conversion().mode, 2u);
    // A number where text belongs reads as the text "\a", no number.
    EXPECT_EQ(OpenWith("M00", "dword:00000007")->leftMatrix.at(0, 0), 0.0f);
}

TEST_F(SettingsRecord, WithoutAStoreOrWithADamagedOneLoadsWhatItCanAndDefaultsTheRest) {
    auto data = std::make_unique<cRegData>(kKey, temp.File().c_str());
    ExpectDefaults(*data);  // sound values even before Load
    EXPECT_FALSE(data->Load());
    ExpectDefaults(*data);
    data->blendMode = 4, data->jpegQuality = 60;
    data.reset();  // saves
    // Damage the quality's line and cut the file in the middle of the right matrix.
    std::string text = temp.Text();
    text.replace(text.find("\"JPEG compression\"=dword:") + 25, 4, "zz\x01!");
    text.resize(text.find("\"M12\"", text.find("right matrix]")) + 9);
    temp.Write(text);
    data = Open();
    EXPECT_EQ(std::tuple(data->blendMode, data->jpegQuality), std::tuple(4, 80));
    EXPECT_EQ(data->rightMatrix, FullColourMatrix(Eye::Right));  // the lines that remain agree
    EXPECT_FALSE(data->Load());
    data.reset();
    // The exit wrote a whole store again and kept the damaged one.
    EXPECT_EQ(temp.Read(temp.File() + ".bad"), text);
    EXPECT_TRUE(Open()->Load());

    temp.Write(std::string(300, '\0') + "\xff\xfe[\"]]]==\n\"");
    ExpectDefaults(*Open());
}

}  // namespace
