#include "api/XMLParserBaseDelegate.h"

#include "foundation/Exception.h"

void XMLParserBaseDelegate::didStartElement(foundation::XMLParser&, const std::string&,
                                            const std::optional<std::string>&, const std::optional<std::string>&,
                                            const Attributes&) {
    throw foundation::Exception(kNotImplementedName, kNotImplementedReason);
}

void XMLParserBaseDelegate::didEndElement(foundation::XMLParser&, const std::string&,
                                          const std::optional<std::string>&, const std::optional<std::string>&) {
    throw foundation::Exception(kNotImplementedName, kNotImplementedReason);
}

void XMLParserBaseDelegate::foundCharacters(foundation::XMLParser&, const std::string&) {
    throw foundation::Exception(kNotImplementedName, kNotImplementedReason);
}
