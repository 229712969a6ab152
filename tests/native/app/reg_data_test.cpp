// cRegData over the native file store: defaults, the 58 stored values, their encodings and
// order, odd stored values and damaged stores.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/reg_data.h"
#include "framework/native/file_store.h"
#include "framework/temp_store.h"

using bistrope::ColorMatrix;
using bistrope::Eye;
using TWIG4::FileStore;
using TWIG4::Hive;

namespace {

const wchar_t kKey[] = L"Software\\Bistrope1.2.1";
const std::u16string kKeyUnits = u"Software\\Bistrope1.2.1";

std::vector<unsigned char> Utf16Data(const std::u16string& units) {
    std::vector<unsigned char> data;
    for (char16_t u : units) {
        data.push_back(static_cast<unsigned char>(u & 0xFF));
        data.push_back(static_cast<unsigned char>(u >> 8));
    }
    return data;
}

std::vector<unsigned char> DwordData(std::uint32_t v) {
    return {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v >> 16),
            static_cast<unsigned char>(v >> 24)};
}

ColorMatrix Diagonal(std::initializer_list<int> ones) {
    ColorMatrix m;
    for (int i : ones) m.at(i, i) = 1.0f;
    return m;
}

class SettingsRecord : public ::testing::Test {
protected:
    TempStore temp;

    std::unique_ptr<cRegData> Open() {
        auto data = std::make_unique<cRegData>(kKey, temp.File().c_str());
        data->Load();
        return data;
    }

    void Put(const char16_t* section, const char16_t* name, std::uint32_t type, const std::vector<unsigned char>& d) {
        FileStore store(temp.File());
        ASSERT_TRUE(store.Load());
        ASSERT_TRUE(store.SetValue(Hive::CurrentUser, kKeyUnits + u"\\" + section, name, type, d.data(), d.size()));
        ASSERT_TRUE(store.Save());
    }
    void PutDword(const char16_t* section, const char16_t* name, std::uint32_t v) { Put(section, name, 4, DwordData(v)); }
    void PutText(const char16_t* section, const char16_t* name, const std::u16string& text) {
        Put(section, name, 1, Utf16Data(text));
    }

    const TWIG4::StoredValue* Stored(const FileStore& store, const char16_t* section, const char16_t* name) {
        return store.FindValue(Hive::CurrentUser, kKeyUnits + u"\\" + section, name);
    }

    static void ExpectDefaults(const cRegData& data) {
        EXPECT_STREQ(data.leftImagePath.GetBuffer(), L"");
        EXPECT_STREQ(data.rightImagePath.GetBuffer(), L"");
        EXPECT_STREQ(data.outputImagePath.GetBuffer(), L"");
        EXPECT_EQ(data.defaultFileView, 0);
        EXPECT_EQ(data.blendMode, 2);
        EXPECT_EQ(data.leftMatrix, Diagonal({0, 3, 4}));
        EXPECT_EQ(data.rightMatrix, Diagonal({1, 2, 3, 4}));
        EXPECT_FALSE(data.matricesChanged);
        EXPECT_EQ(data.maxTexSize, 4096u);
        EXPECT_EQ(data.jpegQuality, 80);
        EXPECT_TRUE(data.firstTimeRun);
    }
};

}  // namespace

TEST_F(SettingsRecord, WithoutAStoreEveryFieldHasItsDefault) {
    cRegData constructed(kKey, temp.File().c_str());
    ExpectDefaults(constructed);  // sound values even before Load
    EXPECT_FALSE(constructed.Load());
    ExpectDefaults(constructed);
    EXPECT_EQ(constructed.hardwareMaxTexSize, 0u);
    EXPECT_FALSE(constructed.maxTexSizeChanged);
}

TEST_F(SettingsRecord, SavingWritesAll58ValuesWithTheirKinds) {
    Open().reset();  // destruction saves
    const FileStore store = temp.Load();
    ASSERT_FALSE(store.Corrupt());

    struct Section {
        const char16_t* name;
        std::vector<std::u16string> values;
    };
    std::vector<std::u16string> elements;
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j) elements.push_back(u"M" + std::u16string(1, u'0' + i) + std::u16string(1, u'0' + j));
    const std::vector<Section> expected = {
        {u"General",
         {u"Left image path", u"Right image path", u"Output image path", u"Default file view", u"First time run"}},
        {u"Colour blending", {u"Mode"}},
        {u"Advanced", {u"Max tex size"}},
        {u"Output", {u"JPEG compression"}},
        {u"Custom blending\\left matrix", elements},
        {u"Custom blending\\right matrix", elements},
    };
    // Keys appear in the order they were first written, values likewise.
    ASSERT_EQ(store.Keys().size(), expected.size());
    std::size_t total = 0;
    for (std::size_t k = 0; k < expected.size(); ++k) {
        const TWIG4::StoredKey& key = store.Keys()[k];
        EXPECT_EQ(key.path, kKeyUnits + u"\\" + expected[k].name);
        ASSERT_EQ(key.values.size(), expected[k].values.size());
        for (std::size_t v = 0; v < key.values.size(); ++v) EXPECT_EQ(key.values[v].name, expected[k].values[v]);
        total += key.values.size();
    }
    EXPECT_EQ(total, 58u);

    auto expectString = [&](const char16_t* section, const char16_t* name, const std::u16string& text) {
        const auto* value = Stored(store, section, name);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->type, 1u);
        EXPECT_EQ(value->data, Utf16Data(text));
    };
    auto expectDword = [&](const char16_t* section, const char16_t* name, std::uint32_t v) {
        const auto* value = Stored(store, section, name);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->type, 4u);
        EXPECT_EQ(value->data, DwordData(v));
    };
    expectString(u"General", u"Left image path", u"");
    expectString(u"General", u"Right image path", u"");
    expectString(u"General", u"Output image path", u"");
    expectDword(u"General", u"Default file view", 0);
    expectDword(u"General", u"First time run", 1);
    expectDword(u"Colour blending", u"Mode", 2);
    expectDword(u"Advanced", u"Max tex size", 4096);
    expectDword(u"Output", u"JPEG compression", 80);
    expectString(u"Custom blending\\left matrix", u"M00", u"1.00000000");
    expectString(u"Custom blending\\left matrix", u"M01", u"0.00000000");
    expectString(u"Custom blending\\left matrix", u"M11", u"0.00000000");
    expectString(u"Custom blending\\left matrix", u"M44", u"1.00000000");
    expectString(u"Custom blending\\right matrix", u"M00", u"0.00000000");
    expectString(u"Custom blending\\right matrix", u"M22", u"1.00000000");
    expectString(u"Custom blending\\right matrix", u"M33", u"1.00000000");
}

TEST_F(SettingsRecord, ChangedValuesSurviveARestart) {
    {
        auto data = Open();
        data->leftImagePath.Assign(L"C:\\stereo\\left");
        data->rightImagePath.Assign(L"D:\\r\u00e9sum\u00e9 \U0001F600");
        data->outputImagePath.Assign(L"");
        data->defaultFileView = 5;
        data->blendMode = 5;
        data->leftMatrix.at(0, 0) = 0.299f;
        data->leftMatrix.at(1, 0) = 0.587f;
        data->leftMatrix.at(2, 0) = 0.114f;
        data->rightMatrix.at(1, 2) = -0.25f;
        data->rightMatrix.at(4, 1) = 0.1f;
        data->maxTexSize = 2048;
        data->jpegQuality = 95;
        data->matricesChanged = true;
        data->maxTexSizeChanged = true;
        data->hardwareMaxTexSize = 8192;
    }
    const FileStore store = temp.Load();
    EXPECT_EQ(Stored(store, u"Custom blending\\left matrix", u"M00")->data, Utf16Data(u"0.29899999"));
    EXPECT_EQ(Stored(store, u"Custom blending\\left matrix", u"M10")->data, Utf16Data(u"0.58700001"));
    EXPECT_EQ(Stored(store, u"Custom blending\\right matrix", u"M12")->data, Utf16Data(u"-0.25000000"));

    auto data = Open();
    EXPECT_STREQ(data->leftImagePath.GetBuffer(), L"C:\\stereo\\left");
    EXPECT_STREQ(data->rightImagePath.GetBuffer(), L"D:\\r\u00e9sum\u00e9 \U0001F600");
    EXPECT_STREQ(data->outputImagePath.GetBuffer(), L"");
    EXPECT_EQ(data->defaultFileView, 5);
    EXPECT_EQ(data->blendMode, 5);
    EXPECT_EQ(data->leftMatrix.at(0, 0), 0.299f);  // eight decimals bring the float back exactly
    EXPECT_EQ(data->leftMatrix.at(1, 0), 0.587f);
    EXPECT_EQ(data->leftMatrix.at(2, 0), 0.114f);
    EXPECT_EQ(data->rightMatrix.at(1, 2), -0.25f);
    EXPECT_EQ(data->rightMatrix.at(4, 1), 0.1f);
    EXPECT_EQ(data->maxTexSize, 2048u);
    EXPECT_EQ(data->jpegQuality, 95);
    // The run-only values start afresh.
    EXPECT_FALSE(data->matricesChanged);
    EXPECT_FALSE(data->maxTexSizeChanged);
    EXPECT_EQ(data->hardwareMaxTexSize, 0u);
    EXPECT_TRUE(data->Load());  // every value was there
}

TEST_F(SettingsRecord, OddStoredValuesLoadAsTheEncodingsSay) {
    Open().reset();
    PutText(u"Custom blending\\left matrix", u"M00", u"0.50000000");
    PutText(u"Custom blending\\left matrix", u"M11", u"not a number");
    PutText(u"Custom blending\\right matrix", u"M22", u"");
    PutText(u"Custom blending\\right matrix", u"M33", u"1e400");
    PutDword(u"General", u"First time run", 2);
    PutDword(u"Colour blending", u"Mode", 9);
    PutDword(u"Output", u"JPEG compression", 150);
    PutDword(u"Advanced", u"Max tex size", 0xFFFFFFFFu);
    PutDword(u"General", u"Default file view", 0x80000000u);

    {
        auto data = Open();
        EXPECT_EQ(data->leftMatrix.at(0, 0), 0.5f);
        EXPECT_EQ(data->leftMatrix.at(1, 1), 0.0f);
        EXPECT_EQ(data->rightMatrix.at(2, 2), 0.0f);
        EXPECT_EQ(data->rightMatrix.at(3, 3), 0.0f);  // beyond the float range
        EXPECT_FALSE(data->firstTimeRun);
        EXPECT_EQ(data->blendMode, 9);
        EXPECT_EQ(data->jpegQuality, 150);
        EXPECT_EQ(data->maxTexSize, 0xFFFFFFFFu);
        EXPECT_EQ(data->defaultFileView, INT32_MIN);
        EXPECT_EQ(data->Conversion().mode, 9u);  // copies the colours, its users decide
    }
    const FileStore store = temp.Load();
    EXPECT_EQ(Stored(store, u"General", u"First time run")->data, DwordData(0));
    EXPECT_EQ(Stored(store, u"Colour blending", u"Mode")->data, DwordData(9));
    EXPECT_EQ(Stored(store, u"Output", u"JPEG compression")->data, DwordData(150));
    EXPECT_EQ(Stored(store, u"Custom blending\\left matrix", u"M11")->data, Utf16Data(u"0.00000000"));
}

TEST_F(SettingsRecord, StoredModeZeroReadsAsTheDefaultModeSoPicturesCanStillBeLoaded) {
    Open().reset();
    PutDword(u"Colour blending", u"Mode", 0);
    {
        auto data = Open();
        EXPECT_EQ(data->blendMode, 2);
        EXPECT_EQ(data->Conversion().mode, 2u);
    }
    EXPECT_EQ(Stored(temp.Load(), u"Colour blending", u"Mode")->data, DwordData(2));
}

TEST_F(SettingsRecord, PathsLargerThanTheReadBufferReadAsEmpty) {
    PutText(u"General", u"Left image path", std::u16string(513, u'p'));
    PutText(u"General", u"Right image path", std::u16string(512, u'q'));
    PutText(u"General", u"Output image path", std::u16string(u"C:\\out") + u'\0');  // stored with a terminator
    auto data = Open();
    EXPECT_STREQ(data->leftImagePath.GetBuffer(), L"");
    EXPECT_EQ(data->rightImagePath.Length(), 512);
    EXPECT_STREQ(data->outputImagePath.GetBuffer(), L"C:\\out");
}

TEST_F(SettingsRecord, WrongSizesAndKindsFallBackToDefaults) {
    Put(u"Colour blending", u"Mode", 3, {1, 2, 3, 4, 5});  // too long for a number
    Put(u"Output", u"JPEG compression", 3, {90});          // short: its raw bytes
    PutDword(u"Custom blending\\left matrix", u"M00", 7);  // a number where text belongs
    auto data = Open();
    EXPECT_EQ(data->blendMode, 2);
    EXPECT_EQ(data->jpegQuality, 90);
    EXPECT_EQ(data->leftMatrix.at(0, 0), 0.0f);  // bytes 07 00 00 00 read as text: "\a", no number
}

TEST_F(SettingsRecord, ADamagedStoreLoadsWhatItCanAndDefaultsTheRest) {
    Open().reset();
    {
        auto data = Open();
        data->blendMode = 4;
        data->jpegQuality = 60;
    }
    std::string text = temp.Text();
    // Damage the quality's line and cut the file in the middle of the right matrix.
    const std::size_t quality = text.find("\"JPEG compression\"=dword:");
    ASSERT_NE(quality, std::string::npos);
    text.replace(quality + 25, 4, "zz\x01!");
    const std::size_t right = text.find("right matrix]");
    ASSERT_NE(right, std::string::npos);
    const std::size_t cut = text.find("\"M12\"", right);
    ASSERT_NE(cut, std::string::npos);
    text.resize(cut + 9);
    temp.Write(text);

    {
        auto data = Open();
        EXPECT_EQ(data->blendMode, 4);
        EXPECT_EQ(data->jpegQuality, 80);
        EXPECT_EQ(data->rightMatrix, Diagonal({1, 2, 3, 4}));  // the lines that remain agree
        EXPECT_FALSE(data->Load());
    }
    // The exit wrote a whole store again and kept the damaged one.
    EXPECT_EQ(temp.Read(temp.File() + ".bad"), text);
    EXPECT_FALSE(temp.Load().Corrupt());
    EXPECT_TRUE(Open()->Load());

    temp.Write(std::string(300, '\0') + "\xff\xfe[\"]]]==\n\"");
    auto data = Open();
    EXPECT_EQ(data->blendMode, 2);
    EXPECT_EQ(data->jpegQuality, 80);
}

TEST_F(SettingsRecord, ConversionsReadTheModeTheCustomMatricesAndTheBoundedPreviewSize) {
    auto data = Open();
    data->leftMatrix.at(1, 0) = 0.5f;
    data->rightMatrix.at(2, 1) = 0.25f;
    data->blendMode = bistrope::CustomColour;
    data->maxTexSize = 1000;
    data->hardwareMaxTexSize = 2048;
    bistrope::ConversionSettings c = data->Conversion();
    EXPECT_EQ(c.mode, unsigned(bistrope::CustomColour));
    EXPECT_EQ(c.custom.left, data->leftMatrix);
    EXPECT_EQ(c.custom.right, data->rightMatrix);
    EXPECT_EQ(c.previewLimit, 1000u);
    data->maxTexSize = 0xFFFFFFFFu;  // a negative number typed: held to the hardware
    EXPECT_EQ(data->Conversion().previewLimit, 2048u);
}
