// Attribute accessors of QVACoreDataDocumentInfo rows.
#include "model/QVACoreDataDocumentInfo.h"

#include "model/ModelReading.h"

using foundation::Value;

std::optional<std::string> QVACoreDataDocumentInfo::documentDescription() const {
    return stringForKey("documentDescription");
}
void QVACoreDataDocumentInfo::setDocumentDescription(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "documentDescription");
}
std::optional<std::string> QVACoreDataDocumentInfo::extension() const { return stringForKey("extension"); }
void QVACoreDataDocumentInfo::setExtension(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "extension");
}
std::optional<std::string> QVACoreDataDocumentInfo::title() const { return stringForKey("title"); }
void QVACoreDataDocumentInfo::setTitle(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "title");
}
std::optional<std::string> QVACoreDataDocumentInfo::url() const { return stringForKey("url"); }
void QVACoreDataDocumentInfo::setUrl(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "url");
}
std::optional<std::string> QVACoreDataDocumentInfo::category() const { return stringForKey("category"); }
void QVACoreDataDocumentInfo::setCategory(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "category");
}
std::optional<std::string> QVACoreDataDocumentInfo::filename() const { return stringForKey("filename"); }
void QVACoreDataDocumentInfo::setFilename(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "filename");
}
int16_t QVACoreDataDocumentInfo::index() const { return static_cast<int16_t>(integerForKey("index")); }
void QVACoreDataDocumentInfo::setIndex(int16_t value) { setValue(Value(int(value)), "index"); }
