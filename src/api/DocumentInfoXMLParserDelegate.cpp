#include "api/DocumentInfoXMLParserDelegate.h"

#include "model/QVADocumentInfo.h"

namespace {

constexpr const char* kChannel = "channel";
constexpr const char* kItem = "item";
constexpr const char* kTitle = "title";
constexpr const char* kDescription = "description";
constexpr const char* kMediaContent = "media:content";
constexpr const char* kUrlAttribute = "url";
constexpr const char* kIsDefaultAttribute = "isDefault";

std::optional<std::string> attribute(const foundation::XMLParserDelegate::Attributes& attributes,
                                     const char* name) {
    auto found = attributes.find(name);
    if (found == attributes.end()) return std::nullopt;
    return found->second;
}

}  // namespace

void DocumentInfoXMLParserDelegate::didStartElement(foundation::XMLParser&, const std::string& elementName,
                                                    const std::optional<std::string>&,
                                                    const std::optional<std::string>&,
                                                    const Attributes& attributes) {
    if (elementName == kChannel) {
        objectIndex_ = 0;
        documents_.emplace();
        currentParsedCharacterData_.clear();
    } else if (elementName == kItem) {
        currentDocumentInfo_ = std::make_shared<QVADocumentInfo>();
        currentDocumentInfo_->setIndex(objectIndex_);
        ++objectIndex_;
    } else if (elementName == kTitle || elementName == kDescription) {
        accumulatingParsedCharacterData_ = true;
        currentParsedCharacterData_.clear();
    } else if (elementName == kMediaContent) {
        // Media content outside any item has nothing to give its address to.
        if (!currentDocumentInfo_) return;
        std::optional<std::string> url = attribute(attributes, kUrlAttribute);
        if (url && !url->empty() && !currentDocumentInfo_->url()) {
            currentDocumentInfo_->setUrl(url);
        } else if (attribute(attributes, kIsDefaultAttribute) == std::optional<std::string>("true")) {
            currentDocumentInfo_->setUrl(url);
        }
    }
}

void DocumentInfoXMLParserDelegate::didEndElement(foundation::XMLParser&, const std::string& elementName,
                                                  const std::optional<std::string>&,
                                                  const std::optional<std::string>&) {
    if (elementName == kChannel) {
        if (documents_) writeDocuments(*documents_);
    } else if (elementName == kItem) {
        // An item nested in another ends twice with the same current item;
        // it is one report, not two.
        if (documents_ && currentDocumentInfo_ &&
            (documents_->empty() || documents_->back() != currentDocumentInfo_)) {
            documents_->push_back(currentDocumentInfo_);
        }
    } else if (elementName == kTitle) {
        if (currentDocumentInfo_) currentDocumentInfo_->setTitle(currentParsedCharacterData_);
        accumulatingParsedCharacterData_ = false;
    } else if (elementName == kDescription) {
        if (currentDocumentInfo_) currentDocumentInfo_->setDocumentDescription(currentParsedCharacterData_);
        accumulatingParsedCharacterData_ = false;
    }
}

void DocumentInfoXMLParserDelegate::foundCharacters(foundation::XMLParser&, const std::string& string) {
    if (accumulatingParsedCharacterData_) currentParsedCharacterData_ += string;
}

void DocumentInfoXMLParserDelegate::foundCDATA(foundation::XMLParser&, const foundation::Data& CDATABlock) {
    if (accumulatingParsedCharacterData_) {
        currentParsedCharacterData_.append(reinterpret_cast<const char*>(CDATABlock.bytes()), CDATABlock.length());
    }
}
