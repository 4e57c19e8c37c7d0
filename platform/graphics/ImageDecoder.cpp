// libpng through its simplified interface (no long jumps through our frames);
// libjpeg-turbo and giflib behind C-style wrappers: libjpeg reports a broken
// file by a long jump back into the one function that set it, whose frame
// holds nothing with a destructor. Every size a file declares is checked
// against the limits before a buffer of that size is taken.
#include "graphics/ImageDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

namespace graphics {

namespace {

bool sizeAllowed(uint64_t width, uint64_t height) {
    return width > 0 && height > 0 && width <= uint64_t(Bitmap::kMaximumSide) &&
           height <= uint64_t(Bitmap::kMaximumSide) && width * height <= ImageDecoder::kMaximumPixels;
}

uint32_t readBigEndian32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

// ---- PNG ----

const uint8_t kPNGSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

// Whether a chunk of that type comes before the image data.
bool pngHasChunkBeforeData(const foundation::Data& data, const char* type) {
    size_t offset = 8;
    while (offset + 8 <= data.length()) {
        uint32_t length = readBigEndian32(data.bytes() + offset);
        const char* chunk = reinterpret_cast<const char*>(data.bytes() + offset + 4);
        if (std::memcmp(chunk, type, 4) == 0) return true;
        if (std::memcmp(chunk, "IDAT", 4) == 0) return false;
        if (length > data.length()) return false;
        offset += 12 + size_t(length);
    }
    return false;
}

// ---- JPEG ----

struct JPEGFailure {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void jpegFail(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JPEGFailure*>(info->err)->jump, 1);
}

void jpegSilence(j_common_ptr, int) {}
void jpegNoOutput(j_common_ptr) {}

// What the JPEG header says, and the pixels as packed 8-bit samples of
// `components` each (3 for RGB, 4 for CMYK).
struct JPEGRaster {
    int width = 0;
    int height = 0;
    int components = 0;
    bool cmyk = false;
    bool adobeInverted = false;
    bool grey = false;
    std::vector<uint8_t> samples;
};

// Plain C control flow only: a long jump may land here at any library call.
bool readJPEG(const foundation::Data& data, JPEGRaster* out) {
    jpeg_decompress_struct info;
    JPEGFailure failure;
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = jpegFail;
    failure.manager.emit_message = jpegSilence;
    failure.manager.output_message = jpegNoOutput;
    if (setjmp(failure.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data.bytes(), static_cast<unsigned long>(data.length()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || !sizeAllowed(info.image_width, info.image_height)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    out->cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    out->grey = info.jpeg_color_space == JCS_GRAYSCALE;
    out->adobeInverted = info.saw_Adobe_marker;
    info.out_color_space = out->cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&info);
    out->width = int(info.output_width);
    out->height = int(info.output_height);
    out->components = info.output_components;
    if (!sizeAllowed(info.output_width, info.output_height) || (out->components != 3 && out->components != 4)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    size_t stride = size_t(out->width) * size_t(out->components);
    out->samples.resize(stride * size_t(out->height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->samples.data() + size_t(info.output_scanline) * stride;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

// ---- GIF ----

struct GIFReader {
    const foundation::Data* data;
    size_t offset = 0;
};

int readGIFBytes(GifFileType* gif, GifByteType* bytes, int length) {
    auto* reader = static_cast<GIFReader*>(gif->UserData);
    size_t n = std::min(size_t(length < 0 ? 0 : length), reader->data->length() - reader->offset);
    std::memcpy(bytes, reader->data->bytes() + reader->offset, n);
    reader->offset += n;
    return int(n);
}

struct GIFCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

constexpr size_t kMaximumGIFFrames = 4096;

}  // namespace

ImageDecoder::Format ImageDecoder::formatOfData(const foundation::Data& data) {
    const uint8_t* p = data.bytes();
    size_t n = data.length();
    if (n >= 8 && std::memcmp(p, kPNGSignature, 8) == 0) return Format::PNG;
    if (n >= 3 && p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF) return Format::JPEG;
    if (n >= 6 && (std::memcmp(p, "GIF87a", 6) == 0 || std::memcmp(p, "GIF89a", 6) == 0)) return Format::GIF;
    return Format::Unknown;
}

DecodedImagePtr ImageDecoder::decode(const foundation::Data& data) {
    switch (formatOfData(data)) {
        case Format::PNG: return decodePNG(data);
        case Format::JPEG: return decodeJPEG(data);
        case Format::GIF: return decodeGIF(data);
        case Format::Unknown: break;
    }
    return nullptr;
}

DecodedImagePtr ImageDecoder::decodePNG(const foundation::Data& data) {
    if (formatOfData(data) != Format::PNG || data.length() < 33) return nullptr;
    const uint8_t* header = data.bytes() + 8;
    if (std::memcmp(header + 4, "IHDR", 4) != 0) return nullptr;
    const int bitDepth = header[16];
    const int colorType = header[17];

    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data.bytes(), data.length())) return nullptr;
    if (!sizeAllowed(image.width, image.height)) {
        png_image_free(&image);
        return nullptr;
    }
    auto decoded = std::make_shared<DecodedImage>();
    decoded->width = int(image.width);
    decoded->height = int(image.height);
    const bool palette = (colorType & PNG_COLOR_MASK_PALETTE) != 0;
    decoded->bitsPerComponent = palette ? 8 : bitDepth;
    decoded->colorModel = (colorType & PNG_COLOR_MASK_COLOR) ? ColorSpace::Model::RGB : ColorSpace::Model::Monochrome;
    const bool alpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || pngHasChunkBeforeData(data, "tRNS");
    decoded->bitmapInfo = uint32_t(alpha ? ImageAlphaInfo::Last : ImageAlphaInfo::None);

    image.format = PNG_FORMAT_RGBA;
    Bitmap bitmap(decoded->width, decoded->height);
    if (!png_image_finish_read(&image, nullptr, bitmap.bytes().data(), 0, nullptr)) {
        png_image_free(&image);
        return nullptr;
    }
    decoded->frames.push_back(std::make_shared<const Bitmap>(std::move(bitmap)));
    decoded->frameDurations.push_back(0);
    return decoded;
}

DecodedImagePtr ImageDecoder::decodeJPEG(const foundation::Data& data) {
    if (formatOfData(data) != Format::JPEG) return nullptr;
    JPEGRaster raster;
    if (!readJPEG(data, &raster)) return nullptr;
    auto decoded = std::make_shared<DecodedImage>();
    decoded->width = raster.width;
    decoded->height = raster.height;
    decoded->bitsPerComponent = 8;
    decoded->bitmapInfo = uint32_t(ImageAlphaInfo::None);
    decoded->colorModel = raster.cmyk ? ColorSpace::Model::CMYK
                          : raster.grey ? ColorSpace::Model::Monochrome
                                        : ColorSpace::Model::RGB;
    Bitmap bitmap(raster.width, raster.height);
    auto& out = bitmap.bytes();
    const size_t pixels = size_t(raster.width) * size_t(raster.height);
    for (size_t i = 0; i < pixels; ++i) {
        const uint8_t* s = &raster.samples[i * size_t(raster.components)];
        uint8_t* d = &out[i * 4];
        if (raster.cmyk) {
            // Adobe writes the inks inverted (255 is no ink).
            unsigned c = raster.adobeInverted ? s[0] : 255 - s[0];
            unsigned m = raster.adobeInverted ? s[1] : 255 - s[1];
            unsigned y = raster.adobeInverted ? s[2] : 255 - s[2];
            unsigned k = raster.adobeInverted ? s[3] : 255 - s[3];
            d[0] = uint8_t((c * k + 127) / 255);
            d[1] = uint8_t((m * k + 127) / 255);
            d[2] = uint8_t((y * k + 127) / 255);
        } else {
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
        }
        d[3] = 255;
    }
    decoded->frames.push_back(std::make_shared<const Bitmap>(std::move(bitmap)));
    decoded->frameDurations.push_back(0);
    return decoded;
}

DecodedImagePtr ImageDecoder::decodeGIF(const foundation::Data& data) {
    if (formatOfData(data) != Format::GIF) return nullptr;
    GIFReader reader{&data};
    int error = 0;
    std::unique_ptr<GifFileType, GIFCloser> gif(DGifOpen(&reader, readGIFBytes, &error));
    if (!gif || !sizeAllowed(uint64_t(std::max(gif->SWidth, 0)), uint64_t(std::max(gif->SHeight, 0)))) return nullptr;

    const int width = gif->SWidth;
    const int height = gif->SHeight;
    auto decoded = std::make_shared<DecodedImage>();
    decoded->width = width;
    decoded->height = height;
    decoded->bitsPerComponent = 8;
    decoded->bitmapInfo = uint32_t(ImageAlphaInfo::Last);
    decoded->colorModel = ColorSpace::Model::RGB;

    Bitmap canvas(width, height);
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    std::vector<GifPixelType> line;
    uint64_t totalPixels = 0;
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    do {
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) break;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* extension = nullptr;
            if (DGifGetExtension(gif.get(), &code, &extension) == GIF_ERROR) break;
            if (code == GRAPHICS_EXT_FUNC_CODE && extension && extension[0] >= 4) {
                DGifExtensionToGCB(extension[0], extension + 1, &control);
            }
            bool broken = false;
            while (extension) {
                if (DGifGetExtensionNext(gif.get(), &extension) == GIF_ERROR) {
                    broken = true;
                    break;
                }
            }
            if (broken) break;
        } else if (type == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif.get()) == GIF_ERROR) break;
            const GifImageDesc& desc = gif->Image;
            if (desc.Width <= 0 || desc.Height <= 0 || desc.Left < 0 || desc.Top < 0 ||
                !sizeAllowed(uint64_t(desc.Width), uint64_t(desc.Height))) {
                break;
            }
            totalPixels += uint64_t(width) * uint64_t(height);
            if (totalPixels > kMaximumPixels || decoded->frames.size() >= kMaximumGIFFrames) break;
            const ColorMapObject* colors = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
            // Rows in file order, mapped to their place for interlaced frames.
            std::vector<GifPixelType> pixels(size_t(desc.Width) * size_t(desc.Height));
            bool broken = false;
            for (int row = 0; row < desc.Height && !broken; ++row) {
                broken = DGifGetLine(gif.get(), &pixels[size_t(row) * size_t(desc.Width)], desc.Width) == GIF_ERROR;
            }
            if (broken || !colors) break;
            std::vector<int> rowOrder(size_t(desc.Height));
            if (desc.Interlace) {
                static const int kStart[4] = {0, 4, 2, 1};
                static const int kStep[4] = {8, 8, 4, 2};
                size_t next = 0;
                for (int pass = 0; pass < 4; ++pass) {
                    for (int y = kStart[pass]; y < desc.Height; y += kStep[pass]) rowOrder[next++] = y;
                }
            } else {
                for (int y = 0; y < desc.Height; ++y) rowOrder[size_t(y)] = y;
            }
            const Bitmap before = canvas;
            for (int row = 0; row < desc.Height; ++row) {
                const int y = desc.Top + rowOrder[size_t(row)];
                for (int col = 0; col < desc.Width; ++col) {
                    const int index = pixels[size_t(row) * size_t(desc.Width) + size_t(col)];
                    if (index == control.TransparentColor || index >= colors->ColorCount) continue;
                    const GifColorType& c = colors->Colors[index];
                    canvas.setPixel(desc.Left + col, y, {c.Red, c.Green, c.Blue, 255});
                }
            }
            decoded->frames.push_back(std::make_shared<const Bitmap>(canvas));
            decoded->frameDurations.push_back(control.DelayTime / 100.0);
            if (control.DisposalMode == DISPOSE_BACKGROUND) {
                for (int y = desc.Top; y < desc.Top + desc.Height; ++y) {
                    for (int x = desc.Left; x < desc.Left + desc.Width; ++x) canvas.setPixel(x, y, {});
                }
            } else if (control.DisposalMode == DISPOSE_PREVIOUS) {
                canvas = before;
            }
            control = GraphicsControlBlock{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
        }
    } while (type != TERMINATE_RECORD_TYPE);
    if (decoded->frames.empty()) return nullptr;
    return decoded;
}

}  // namespace graphics
