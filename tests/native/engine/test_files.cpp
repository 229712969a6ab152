#include "test_files.h"

#include <csetjmp>
#include <cstring>
#include <random>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>
#include <unistd.h>

namespace bistrope::test {

ScratchDir::ScratchDir() {
    static int counter = 0;
    path_ = fs::temp_directory_path() /
            ("bistrope-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    // Give back write permission to anything a test made read-only, then remove.
    for (auto& e : fs::recursive_directory_iterator(path_, ec))
        fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

Bytes EncodePng(const PngSpec& spec) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t n) {
            auto* o = static_cast<Bytes*>(png_get_io_ptr(p));
            o->insert(o->end(), data, data + n);
        },
        nullptr);
    png_set_IHDR(png, info, png_uint_32(spec.width), png_uint_32(spec.height), spec.bitDepth, spec.colorType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (std::size_t i = 0; i + 2 < spec.paletteRgb.size(); i += 3)
        palette.push_back({spec.paletteRgb[i], spec.paletteRgb[i + 1], spec.paletteRgb[i + 2]});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
    if (!spec.trns.empty()) png_set_tRNS(png, info, spec.trns.data(), int(spec.trns.size()), nullptr);
    png_write_info(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    for (int y = 0; y < spec.height; ++y)
        png_write_row(png, const_cast<png_bytep>(spec.pixels.data() + std::size_t(y) * rowBytes));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes EncodeJpegRaw(int width, int height, int components, const Bytes& samples, int quality) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = JDIMENSION(width);
    c.image_height = JDIMENSION(height);
    c.input_components = components;
    c.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&c);
    if (components == 4) jpeg_set_colorspace(&c, JCS_CMYK);  // writes the Adobe marker
    jpeg_set_quality(&c, quality, TRUE);
    for (int i = 0; i < c.num_components; ++i) c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + std::size_t(c.next_scanline) * width * components);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

Bytes EncodeGif(int width, int height, const std::vector<Bytes>& frames, const std::vector<std::uint8_t>& paletteRgb,
                int transparentIndex) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(
        &out,
        [](GifFileType* g, const GifByteType* data, int n) {
            auto* o = static_cast<Bytes*>(g->UserData);
            o->insert(o->end(), data, data + n);
            return n;
        },
        &error);
    std::vector<GifColorType> colours;
    for (std::size_t i = 0; i + 2 < paletteRgb.size(); i += 3) colours.push_back({paletteRgb[i], paletteRgb[i + 1], paletteRgb[i + 2]});
    ColorMapObject* map = GifMakeMapObject(int(colours.size()), colours.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, width, height, 8, 0, map);
    for (std::size_t f = 0; f < frames.size(); ++f) {
        GraphicsControlBlock gcb{};
        gcb.DelayTime = 10;
        gcb.TransparentColor = f == 0 ? transparentIndex : NO_TRANSPARENT_COLOR;
        GifByteType ext[4];
        const std::size_t n = EGifGCBToExtension(&gcb, ext);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(n), ext);
        EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr);
        for (int y = 0; y < height; ++y)
            EGifPutLine(gif, const_cast<GifPixelType*>(frames[f].data() + std::size_t(y) * width), width);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

Bytes EncodeTiff(int width, int height, int channels, const Bytes& samples, bool lzw) {
    ScratchDir dir;
    const auto path = dir / "t.tif";
    TIFF* t = TIFFOpen(path.c_str(), "w");
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, channels);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_COMPRESSION, lzw ? COMPRESSION_LZW : COMPRESSION_NONE);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 2);
    if (channels == 4) {
        const std::uint16_t extra = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(t, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    for (int y = 0; y < height; ++y)
        TIFFWriteScanline(t, const_cast<std::uint8_t*>(samples.data() + std::size_t(y) * width * channels), std::uint32_t(y), 0);
    TIFFClose(t);
    return ReadBytes(path);
}

Bytes EncodeBmp(int width, int height, int bits, const std::vector<Bytes>& rows, const Bytes& paletteBgrx, bool topDown,
                bool alphaMask) {
    Bytes b;
    auto u16 = [&](unsigned v) {
        b.push_back(std::uint8_t(v));
        b.push_back(std::uint8_t(v >> 8));
    };
    auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    const std::uint32_t header = alphaMask ? 108 : 40;
    const std::uint32_t dataAt = 14 + header + std::uint32_t(paletteBgrx.size());
    std::size_t dataSize = 0;
    for (const auto& r : rows) dataSize += r.size();
    b.push_back('B');
    b.push_back('M');
    u32(std::uint32_t(dataAt + dataSize));
    u32(0);
    u32(dataAt);
    u32(header);
    u32(std::uint32_t(width));
    u32(std::uint32_t(topDown ? -height : height));
    u16(1);
    u16(unsigned(bits));
    u32(alphaMask ? 3 : 0);
    u32(std::uint32_t(dataSize));
    u32(2835);
    u32(2835);
    u32(std::uint32_t(paletteBgrx.size() / 4));
    u32(0);
    if (alphaMask) {
        u32(0x00FF0000);
        u32(0x0000FF00);
        u32(0x000000FF);
        u32(0xFF000000);
        while (b.size() < 14 + header) b.push_back(0);
    }
    b.insert(b.end(), paletteBgrx.begin(), paletteBgrx.end());
    // Stored bottom-up unless top-down.
    for (int i = 0; i < height; ++i) {
        const Bytes& r = rows[std::size_t(topDown ? i : height - 1 - i)];
        b.insert(b.end(), r.begin(), r.end());
    }
    return b;
}

SourceImage MakeSource(int width, int height, const std::function<void(int, int, std::uint8_t*)>& fill) {
    SourceImage s = SourceImage::Create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) fill(x, y, s.row(y) + 4 * x);
    return s;
}

SourceImage RandomSource(int width, int height, unsigned seed, bool opaque) {
    std::mt19937 rng(seed);
    return MakeSource(width, height, [&](int, int, std::uint8_t* p) {
        for (int c = 0; c < 4; ++c) p[c] = std::uint8_t(rng());
        if (opaque) p[3] = 255;
    });
}

}  // namespace bistrope::test
