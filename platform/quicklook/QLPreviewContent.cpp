#include "quicklook/QLPreviewContent.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

#include "foundation/FileManager.h"
#include "foundation/Format.h"
#include "graphics/ImageDecoder.h"
#include "graphics/PDFDocument.h"

namespace quicklook {

namespace {

std::string lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string uppercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return text;
}

std::string kindNameOfExtension(const std::string& extension) {
    static const std::pair<const char*, const char*> kNames[] = {
        {"pdf", "PDF document"},          {"doc", "Word document"},           {"docx", "Word document"},
        {"xls", "Excel spreadsheet"},     {"xlsx", "Excel spreadsheet"},      {"ppt", "PowerPoint presentation"},
        {"pptx", "PowerPoint presentation"}, {"png", "PNG image"},            {"jpg", "JPEG image"},
        {"jpeg", "JPEG image"},           {"gif", "GIF image"},
    };
    const std::string lower = lowercase(extension);
    for (const auto& [known, name] : kNames)
        if (lower == known) return name;
    return extension.empty() ? "Document" : uppercase(extension) + " document";
}

const char* kindNameOfPicture(graphics::ImageDecoder::Format format) {
    switch (format) {
        case graphics::ImageDecoder::Format::PNG: return "PNG image";
        case graphics::ImageDecoder::Format::JPEG: return "JPEG image";
        case graphics::ImageDecoder::Format::GIF: return "GIF image";
        case graphics::ImageDecoder::Format::Unknown: break;
    }
    return "Image";
}

bool startsAsPDF(const foundation::Data& data) {
    return data.length() >= 5 && std::memcmp(data.bytes(), "%PDF-", 5) == 0;
}

}  // namespace

QLPreviewContent QLPreviewContent::ofItem(const foundation::URL& item, const std::optional<std::string>& title) {
    QLPreviewContent content;
    content.title = title && !title->empty() ? *title : item.lastPathComponent();
    content.kindName = kindNameOfExtension(item.pathExtension());
    if (!item.isFileURL()) return content;
    auto data = foundation::FileManager::defaultManager().contentsAtPath(item.path());
    if (!data) return content;
    content.kind = Kind::Other;
    content.byteCount = data->length();
    if (startsAsPDF(*data)) {
        content.kindName = "PDF document";
        if (auto document = graphics::PDFDocument::fromData(*data)) {
            content.pageCount = document->pageCount();
            content.image = document->renderPage(0, kPixelsPerPoint);
            if (content.image) content.kind = Kind::PDF;
        }
        return content;
    }
    const auto format = graphics::ImageDecoder::formatOfData(*data);
    if (format == graphics::ImageDecoder::Format::Unknown) return content;
    content.kindName = kindNameOfPicture(format);
    if (auto decoded = graphics::ImageDecoder::decode(*data); decoded && decoded->bitmap()) {
        content.image = decoded->bitmap();
        content.kind = Kind::Picture;
    }
    return content;
}

std::string QLPreviewContent::sizeText() const {
    if (byteCount < 1000) return std::to_string(byteCount) + (byteCount == 1 ? " byte" : " bytes");
    if (byteCount < 1000 * 1000) return foundation::Format("%.0f KB", double(byteCount) / 1000);
    return foundation::Format("%.1f MB", double(byteCount) / (1000 * 1000));
}

}  // namespace quicklook
