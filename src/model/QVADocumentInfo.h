// One document: an information document of the meeting, or a report of the
// meeting's news feed (which the feed parser creates empty and fills through
// the setters).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "foundation/Object.h"
#include "foundation/Value.h"
#include "model/IEntityModel.h"

class QVADocumentInfo : public foundation::Object, public IEntityModel {
public:
    static constexpr const char* kClassName = "QVADocumentInfo";
    using Text = std::optional<std::string>;

    QVADocumentInfo() = default;
    static std::shared_ptr<QVADocumentInfo> initWithDictionary(const foundation::Value& dictionary);

    // "*" when the service names no category.
    const Text& category() const { return category_; }
    void setCategory(Text v) { category_ = std::move(v); }
    const Text& title() const { return title_; }
    void setTitle(Text v) { title_ = std::move(v); }
    // The document's address.
    const Text& url() const { return url_; }
    void setUrl(Text v) { url_ = std::move(v); }
    const Text& extension() const { return extension_; }
    void setExtension(Text v) { extension_ = std::move(v); }
    const Text& filename() const { return filename_; }
    void setFilename(Text v) { filename_ = std::move(v); }
    const Text& documentDescription() const { return documentDescription_; }
    void setDocumentDescription(Text v) { documentDescription_ = std::move(v); }
    // Position in its list.
    int32_t index() const { return index_; }
    void setIndex(int32_t v) { index_ = v; }

    std::string className() const override { return kClassName; }

protected:
    void readDictionary(const foundation::Value& dictionary);

private:
    Text category_, title_, url_, extension_, filename_, documentDescription_;
    int32_t index_ = 0;
};
