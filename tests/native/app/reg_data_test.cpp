// cRegData over the native file store: defaults, the 59 stored values with their kinds,
// encodings and order, odd stored values and damaged stores.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/reg_data.h"
#include "framework/temp_store.h"

using bistrope::Eye;
using bistrope::FullColourMatrix;
using TWIG4::FileStore;
using TWIG4::Hive;

namespace {

const wchar_t kKey[] = L"Software\\Bistrope1.2.1";
const std::u16string kKeyUnits = u"Software\\Bistrope1.2.1";
const char16_t kGeneral[] = u"General", kMode[] = u"Colour blending", kQuality[] = u"Output";
const char16_t kLeft[] = u"Custom blending\\left matrix", kRight[] = u"Custom blending\\right matrix";

// A stored value: its kind (1 text, 4 number) and its bytes.
using Value = std::pair<std::uint32_t, std::vector<unsigned char>>;

Value Text(const std::u16string& units) {
    Value v{1, {}};
    for (char16_t u : units) v.second.insert(v.second.end(), {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8)});
    return v;
}
Value Dword(std::uint32_t n) {
    return {4, {static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8), static_cast<unsigned char>(n >> 16),
                static_cast<unsigned char>(n >> 24)}};
}

class SettingsRecord : public ::testing::Test {
protected:
    TempStore temp;

    std::unique_ptr<cRegData> Open() {
        auto data = std::make_unique<cRegData>(kKey, temp.File().c_str());
        data->Load();
        return data;
    }
    Value Stored(const char16_t* section, const char16_t* name) const {
        const FileStore store = temp.Load();
        const auto* v = store.FindValue(Hive::CurrentUser, kKeyUnits + u"\\" + section, name);
        return v ? Value{v->type, v->data} : Value{};
    }
    // The record as the next run reads a whole store that holds this value instead.
    std::unique_ptr<cRegData> OpenWith(const char16_t* section, const char16_t* name, const Value& v) {
        std::filesystem::remove(temp.File());
        Open().reset();
        FileStore store(temp.File());
        EXPECT_TRUE(store.Load() && store.SetValue(Hive::CurrentUser, kKeyUnits + u"\\" + section, name, v.first,
                                                   v.second.data(), v.second.size()) && store.Save());
        return Open();
    }
    static void ExpectDefaults(const cRegData& d) {
        EXPECT_EQ(std::wstring(d.leftImagePath.GetBuffer()) + d.rightImagePath.GetBuffer() + d.outputImagePath.GetBuffer(), L"");
        EXPECT_EQ(std::tuple(d.defaultFileView, d.blendMode, d.maxTexSize, d.jpegQuality, d.firstTimeRun, d.autoAlign),
                  std::tuple(0, 2, 4096u, 80, true, false));
        // The run-only values start afresh.
        EXPECT_EQ(std::tuple(d.matricesChanged, d.maxTexSizeChanged, d.hardwareMaxTexSize), std::tuple(false, false, 0u));
        EXPECT_EQ(d.leftMatrix, FullColourMatrix(Eye::Left));
        EXPECT_EQ(d.rightMatrix, FullColourMatrix(Eye::Right));
    }
};

TEST_F(SettingsRecord, WithoutAStoreEveryFieldHasItsDefault) {
    cRegData data(kKey, temp.File().c_str());
    ExpectDefaults(data);  // sound values even before Load
    EXPECT_FALSE(data.Load());
    ExpectDefaults(data);
}

TEST_F(SettingsRecord, The59ValuesAreStoredInOrderWithTheirKindsAndSurviveARestart) {
    {
        auto data = Open();
        data->leftImagePath.Assign(L"C:\\stereo\\left");
        data->rightImagePath.Assign(L"D:\\r\u00e9sum\u00e9 \U0001F600");
        data->defaultFileView = data->blendMode = 5;
        data->leftMatrix.at(0, 0) = 0.299f;
        data->leftMatrix.at(1, 0) = 0.587f;
        data->rightMatrix.at(1, 2) = -0.25f;
        data->maxTexSize = 2048;
        data->jpegQuality = 95;
        data->autoAlign = true;
        data->matricesChanged = data->maxTexSizeChanged = true;
        data->hardwareMaxTexSize = 8192;
    }  // destruction saves
    // Keys appear in the order they were first written, values likewise.
    std::vector<std::u16string> expected = {u"General\\Left image path", u"General\\Right image path",
        u"General\\Output image path", u"General\\Default file view", u"General\\First time run",
        u"General\\Auto align",
        u"Colour blending\\Mode", u"Advanced\\Max tex size", u"Output\\JPEG compression"};
    for (const std::u16string matrix : {kLeft, kRight})
        for (char16_t i = u'0'; i < u'5'; ++i)
            for (char16_t j = u'0'; j < u'5'; ++j) expected.push_back(matrix + u"\\M" + i + j);
    std::vector<std::u16string> listed;
    const FileStore store = temp.Load();
    for (const TWIG4::StoredKey& key : store.Keys())
        for (const auto& value : key.values) listed.push_back(key.path.substr(kKeyUnits.size() + 1) + u"\\" + value.name);
    EXPECT_EQ(listed, expected);
    const std::tuple<const char16_t*, const char16_t*, Value> values[] = {
        {kGeneral, u"Right image path", Text(u"D:\\r\u00e9sum\u00e9 \U0001F600")}, {kGeneral, u"Default file view", Dword(5)},
        {kGeneral, u"First time run", Dword(1)}, {kGeneral, u"Auto align", Dword(1)}, {kMode, u"Mode", Dword(5)}, {u"Advanced", u"Max tex size", Dword(2048)},
        {kQuality, u"JPEG compression", Dword(95)}, {kLeft, u"M00", Text(u"0.29899999")},  // eight decimals
        {kLeft, u"M10", Text(u"0.58700001")}, {kRight, u"M12", Text(u"-0.25000000")},
    };
    for (std::size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(Stored(std::get<0>(values[i]), std::get<1>(values[i])), std::get<2>(values[i])) << "row " << i;

    auto data = Open();
    EXPECT_EQ(std::wstring(data->leftImagePath.GetBuffer()) + L"|" + data->rightImagePath.GetBuffer(),
              L"C:\\stereo\\left|D:\\r\u00e9sum\u00e9 \U0001F600");
    EXPECT_EQ(std::tuple(data->defaultFileView, data->blendMode, data->maxTexSize, data->jpegQuality, data->autoAlign),
              std::tuple(5, 5, 2048u, 95, true));
    EXPECT_EQ(data->leftMatrix.at(0, 0), 0.299f);  // the eight decimals bring the float back exactly
    EXPECT_EQ(data->leftMatrix.at(1, 0), 0.587f);
    EXPECT_EQ(data->rightMatrix.at(1, 2), -0.25f);
    EXPECT_EQ(std::tuple(data->matricesChanged, data->maxTexSizeChanged, data->hardwareMaxTexSize), std::tuple(false, false, 0u));
    EXPECT_TRUE(data->Load());  // every value was there

    // What the document's conversions read: the preview size held to the hardware's.
    data->hardwareMaxTexSize = 4096;
    const bistrope::ConversionSettings c = data->Conversion();
    EXPECT_EQ(std::tuple(c.mode, c.custom.left, c.custom.right, c.previewLimit),
              std::tuple(5u, data->leftMatrix, data->rightMatrix, 2048u));
    data->maxTexSize = 0xFFFFFFFFu;  // a negative number typed
    EXPECT_EQ(data->Conversion().previewLimit, 4096u);
}

TEST_F(SettingsRecord, OddStoredValuesLoadAsTheirEncodingsSay) {
    EXPECT_EQ(OpenWith(kLeft, u"M11", Text(u"not a number"))->leftMatrix.at(1, 1), 0.0f);
    EXPECT_EQ(Stored(kLeft, u"M11"), Text(u"0.00000000"));  // what that run's exit stored
    EXPECT_FALSE(OpenWith(kGeneral, u"First time run", Dword(2))->firstTimeRun);
    EXPECT_EQ(Stored(kGeneral, u"First time run"), Dword(0));
    // Modes are copied as they are, their users decide; only 0 reads as the default, so that
    // pictures can still be loaded.
    EXPECT_EQ(OpenWith(kMode, u"Mode", Dword(9))->Conversion().mode, 9u);
    EXPECT_EQ(OpenWith(kMode, u"Mode", Dword(0))->Conversion().mode, 2u);
    EXPECT_EQ(Stored(kMode, u"Mode"), Dword(2));
    // Paths longer than the read buffer read as empty; a stored terminator ends the text.
    EXPECT_STREQ(OpenWith(kGeneral, u"Left image path", Text(std::u16string(513, u'p')))->leftImagePath.GetBuffer(), L"");
    EXPECT_EQ(OpenWith(kGeneral, u"Right image path", Text(std::u16string(512, u'q')))->rightImagePath.Length(), 512);
    EXPECT_STREQ(OpenWith(kGeneral, u"Output image path", Text(std::u16string(u"C:\\out") + u'\0'))->outputImagePath.GetBuffer(),
                 L"C:\\out");
    // Wrong sizes and kinds: a number too long is ignored, a short one is its raw bytes, a
    // number where text belongs reads as the text "\a", no number.
    EXPECT_EQ(OpenWith(kMode, u"Mode", {3, {1, 2, 3, 4, 5}})->blendMode, 2);
    EXPECT_EQ(OpenWith(kQuality, u"JPEG compression", {3, {90}})->jpegQuality, 90);
    EXPECT_EQ(OpenWith(kLeft, u"M00", Dword(7))->leftMatrix.at(0, 0), 0.0f);
}

TEST_F(SettingsRecord, ADamagedStoreLoadsWhatItCanAndDefaultsTheRest) {
    auto data = Open();
    data->blendMode = 4;
    data->jpegQuality = 60;
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
