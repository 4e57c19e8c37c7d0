// Turns the items of the meeting's reports feed (RSS) into documents and,
// when the channel ends, replaces every report row of the store with them.
// Names are compared as the parser reports them, prefix included, so
// "media:content" is one name. Within an item the first media content with
// an address gives the item its address; a later one marked
// isDefault="true" replaces it. A feed that breaks off before the channel's
// end writes nothing. One delegate serves one parse.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "api/XMLParserBaseDelegate.h"

class QVADocumentInfo;

class DocumentInfoXMLParserDelegate : public XMLParserBaseDelegate {
public:
    DocumentInfoXMLParserDelegate() = default;

    // The items read so far (none before the channel starts).
    const std::optional<std::vector<std::shared_ptr<QVADocumentInfo>>>& documents() const { return documents_; }
    // The last item made; kept after its end.
    const std::shared_ptr<QVADocumentInfo>& currentDocumentInfo() const { return currentDocumentInfo_; }
    int32_t objectIndex() const { return objectIndex_; }

    void didStartElement(foundation::XMLParser& parser, const std::string& elementName,
                         const std::optional<std::string>& namespaceURI,
                         const std::optional<std::string>& qualifiedName, const Attributes& attributes) override;
    void didEndElement(foundation::XMLParser& parser, const std::string& elementName,
                       const std::optional<std::string>& namespaceURI,
                       const std::optional<std::string>& qualifiedName) override;
    void foundCharacters(foundation::XMLParser& parser, const std::string& string) override;
    // Feeds commonly wrap titles and descriptions in CDATA sections; their
    // text counts as characters.
    void foundCDATA(foundation::XMLParser& parser, const foundation::Data& CDATABlock) override;

protected:
    // Replaces every row of the entity in the store with the documents; the
    // write is not waited for and its errors are not reported.
    virtual void writeDocuments(const std::vector<std::shared_ptr<QVADocumentInfo>>& documents);

private:
    std::optional<std::vector<std::shared_ptr<QVADocumentInfo>>> documents_;
    std::shared_ptr<QVADocumentInfo> currentDocumentInfo_;
    int32_t objectIndex_ = 0;
    std::string currentParsedCharacterData_;
    bool accumulatingParsedCharacterData_ = false;
};
