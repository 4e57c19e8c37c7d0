// The writers run the libraries' classic interfaces; a failure there means a
// broken test set-up, so it ends in an empty string rather than a long jump.
#include "service/TestImages.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

namespace testservice {

namespace {

uint8_t shade(int position, int extent) { return uint8_t(extent <= 1 ? 0 : position * 255 / (extent - 1)); }

}  // namespace

std::string makePNG(int width, int height, int bitDepth, PNGKind kind, int blue) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    const bool linear = bitDepth == 16;
    switch (kind) {
        case PNGKind::RGBA: image.format = PNG_FORMAT_RGBA; break;
        case PNGKind::RGB: image.format = PNG_FORMAT_RGB; break;
        case PNGKind::Grey: image.format = PNG_FORMAT_GRAY; break;
        case PNGKind::GreyAlpha: image.format = PNG_FORMAT_GA; break;
    }
    if (linear) image.format |= PNG_FORMAT_FLAG_LINEAR;
    const int channels = int(PNG_IMAGE_SAMPLE_CHANNELS(image.format));
    if (bitDepth < 8) {
        // The simplified writer only writes 8 and 16 bits; low grey depths
        // are packed by hand through the classic writer below.
        std::string out;
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        if (setjmp(png_jmpbuf(png))) {
            png_destroy_write_struct(&png, &info);
            return {};
        }
        png_set_write_fn(
            png, &out,
            [](png_structp p, png_bytep bytes, size_t length) {
                static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<const char*>(bytes), length);
            },
            nullptr);
        png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), bitDepth, PNG_COLOR_TYPE_GRAY,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        std::vector<uint8_t> row(size_t(width * bitDepth + 7) / 8);
        for (int y = 0; y < height; ++y) {
            std::fill(row.begin(), row.end(), uint8_t(y % 2 ? 0xAA : 0x55));
            png_write_row(png, row.data());
        }
        png_write_end(png, info);
        png_destroy_write_struct(&png, &info);
        return out;
    }
    const size_t samples = size_t(width) * size_t(height) * size_t(channels);
    std::vector<uint16_t> wide(linear ? samples : 0);
    std::vector<uint8_t> narrow(linear ? 0 : samples);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < channels; ++c) {
                uint8_t v = c == 0 ? shade(x, width) : c == 1 ? shade(y, height) : c == 2 ? uint8_t(blue) : 255;
                if (channels == 2 && c == 1) v = 255;
                size_t i = (size_t(y) * size_t(width) + size_t(x)) * size_t(channels) + size_t(c);
                if (linear) {
                    wide[i] = uint16_t(v * 257);
                } else {
                    narrow[i] = v;
                }
            }
        }
    }
    png_alloc_size_t size = 0;
    const void* buffer = linear ? static_cast<const void*>(wide.data()) : narrow.data();
    if (!png_image_write_get_memory_size(image, size, 0, buffer, 0, nullptr)) return {};
    std::string out(size, '\0');
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, buffer, 0, nullptr)) return {};
    out.resize(size);
    return out;
}

namespace {

struct JPEGWriteFailure {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void jpegWriteFail(j_common_ptr info) { std::longjmp(reinterpret_cast<JPEGWriteFailure*>(info->err)->jump, 1); }

bool writeJPEG(int width, int height, bool cmyk, const std::vector<uint8_t>& samples, unsigned char** buffer,
               unsigned long* size) {
    jpeg_compress_struct info;
    JPEGWriteFailure failure;
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = jpegWriteFail;
    if (setjmp(failure.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, buffer, size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = cmyk ? 4 : 3;
    info.in_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    if (cmyk) jpeg_set_colorspace(&info, JCS_CMYK);
    jpeg_set_quality(&info, 85, TRUE);
    jpeg_start_compress(&info, TRUE);
    const size_t stride = size_t(width) * size_t(info.input_components);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(samples.data()) + size_t(info.next_scanline) * stride;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

std::string makeJPEG(int width, int height, bool cmyk, int blue) {
    const int components = cmyk ? 4 : 3;
    std::vector<uint8_t> samples(size_t(width) * size_t(height) * size_t(components));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &samples[(size_t(y) * size_t(width) + size_t(x)) * size_t(components)];
            uint8_t r = shade(x, width), g = shade(y, height), b = uint8_t(blue);
            if (cmyk) {
                // Inverted inks with no black: 255 - ink = the RGB value.
                p[0] = r;
                p[1] = g;
                p[2] = b;
                p[3] = 255;
            } else {
                p[0] = r;
                p[1] = g;
                p[2] = b;
            }
        }
    }
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::string out;
    if (writeJPEG(width, height, cmyk, samples, &buffer, &size)) out.assign(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    return out;
}

namespace {

int appendGIFBytes(GifFileType* gif, const GifByteType* bytes, int length) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), size_t(length));
    return length;
}

}  // namespace

std::string makeAnimatedGIF(int width, int height, int frames) {
    std::string out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendGIFBytes, &error);
    if (!gif) return {};
    GifColorType colors[4] = {{0, 0, 0}, {220, 40, 40}, {40, 180, 60}, {40, 80, 220}};
    ColorMapObject* map = GifMakeMapObject(4, colors);
    EGifSetGifVersion(gif, true);
    bool ok = EGifPutScreenDesc(gif, width, height, 2, 0, map) != GIF_ERROR;
    // The looping block: "NETSCAPE2.0" with a loop count of 0 (for ever).
    ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) != GIF_ERROR &&
         EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") != GIF_ERROR &&
         EGifPutExtensionBlock(gif, 3, "\x01\x00\x00") != GIF_ERROR && EGifPutExtensionTrailer(gif) != GIF_ERROR;
    std::vector<GifPixelType> line(static_cast<size_t>(width));
    for (int f = 0; f < frames && ok; ++f) {
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 10, NO_TRANSPARENT_COLOR};
        GifByteType extension[4];
        size_t length = EGifGCBToExtension(&control, extension);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) != GIF_ERROR &&
             EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) != GIF_ERROR;
        std::fill(line.begin(), line.end(), GifPixelType(1 + f % 3));
        for (int y = 0; y < height && ok; ++y) ok = EGifPutLine(gif, line.data(), width) != GIF_ERROR;
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return ok ? out : std::string();
}

}  // namespace testservice
