// A fixed table rather than the system's type database: uploads must carry the
// same type on every machine, whatever is installed there.
#include "http/QNMIMETypes.h"

#include <algorithm>
#include <cctype>
#include <map>

std::string QNMIMETypeForPathExtension(const std::string& extension) {
    static const std::map<std::string, std::string> table = {
        {"txt", "text/plain"},         {"html", "text/html"},        {"htm", "text/html"},
        {"css", "text/css"},           {"csv", "text/csv"},          {"xml", "application/xml"},
        {"json", "application/json"},  {"js", "application/javascript"},
        {"pdf", "application/pdf"},    {"zip", "application/zip"},   {"gz", "application/gzip"},
        {"rtf", "application/rtf"},    {"plist", "application/x-plist"},
        {"ics", "text/calendar"},      {"vcf", "text/vcard"},
        {"png", "image/png"},          {"jpg", "image/jpeg"},        {"jpeg", "image/jpeg"},
        {"gif", "image/gif"},          {"tif", "image/tiff"},        {"tiff", "image/tiff"},
        {"bmp", "image/bmp"},          {"svg", "image/svg+xml"},     {"heic", "image/heic"},
        {"webp", "image/webp"},        {"mp3", "audio/mpeg"},        {"m4a", "audio/mp4"},
        {"wav", "audio/wav"},          {"mp4", "video/mp4"},         {"mov", "video/quicktime"},
        {"m4v", "video/x-m4v"},        {"doc", "application/msword"},
        {"docx", "application/vnd.openxmlformats-officedocument.wordprocessingml.document"},
        {"xls", "application/vnd.ms-excel"},
        {"xlsx", "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"},
        {"ppt", "application/vnd.ms-powerpoint"},
        {"pptx", "application/vnd.openxmlformats-officedocument.presentationml.presentation"},
    };
    std::string key = extension;
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
    auto it = table.find(key);
    return it == table.end() ? "application/octet-stream" : it->second;
}
