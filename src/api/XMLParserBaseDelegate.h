// The base of the feed parser delegates: it carries the entity class the
// rows go to and the store (access token and meeting id) that receives them.
// Its own parse callbacks raise: a subclass that forgets one fails loudly at
// the first element instead of silently writing nothing.
#pragma once

#include <optional>
#include <string>

#include "foundation/XMLParser.h"
#include "model/EntityClass.h"

class XMLParserBaseDelegate : public foundation::XMLParserDelegate {
public:
    static constexpr const char* kNotImplementedName = "Please implement in subclasses";
    static constexpr const char* kNotImplementedReason = "do it";

    const EntityClassPtr& coreDataModelClass() const { return coreDataModelClass_; }
    void setCoreDataModelClass(EntityClassPtr cls) { coreDataModelClass_ = std::move(cls); }
    const std::optional<std::string>& authCode() const { return authCode_; }
    void setAuthCode(std::optional<std::string> code) { authCode_ = std::move(code); }
    const std::optional<std::string>& eventId() const { return eventId_; }
    void setEventId(std::optional<std::string> id) { eventId_ = std::move(id); }

    void didStartElement(foundation::XMLParser& parser, const std::string& elementName,
                         const std::optional<std::string>& namespaceURI,
                         const std::optional<std::string>& qualifiedName, const Attributes& attributes) override;
    void didEndElement(foundation::XMLParser& parser, const std::string& elementName,
                       const std::optional<std::string>& namespaceURI,
                       const std::optional<std::string>& qualifiedName) override;
    void foundCharacters(foundation::XMLParser& parser, const std::string& string) override;

private:
    EntityClassPtr coreDataModelClass_;
    std::optional<std::string> authCode_;
    std::optional<std::string> eventId_;
};
