// What one parse of a floor-plan file produces: the document, its outermost
// svg element, the namespaces met, and every problem found on the way, sorted
// by how much it matters. Parse problems never throw; they end up here, and
// each one is also written to the log as it is added.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Error.h"
#include "foundation/Object.h"

namespace svg {

class SVGDocument;
class SVGSVGElement;

// The domain of the library's own recoverable errors.
inline constexpr const char* kSVGXLibraryErrorDomain = "SVGXLibrary";

class SVGXParseResult : public foundation::Object {
public:
    bool libXMLFailed() const { return libXMLFailed_; }
    void setLibXMLFailed(bool failed) { libXMLFailed_ = failed; }
    const std::shared_ptr<SVGDocument>& parsedDocument() const { return parsedDocument_; }
    void setParsedDocument(std::shared_ptr<SVGDocument> document) { parsedDocument_ = std::move(document); }
    const std::shared_ptr<SVGSVGElement>& rootOfSVGTree() const { return rootOfSVGTree_; }
    void setRootOfSVGTree(std::shared_ptr<SVGSVGElement> root) { rootOfSVGTree_ = std::move(root); }
    // Prefix (empty for the default namespace) to URI.
    std::map<std::string, std::string>& namespacesEncountered() { return namespacesEncountered_; }
    const std::map<std::string, std::string>& namespacesEncountered() const { return namespacesEncountered_; }

    const std::vector<foundation::ErrorPtr>& warnings() const { return warnings_; }
    const std::vector<foundation::ErrorPtr>& errorsRecoverable() const { return errorsRecoverable_; }
    const std::vector<foundation::ErrorPtr>& errorsFatal() const { return errorsFatal_; }

    // A source that could not be read counts as recoverable: the caller
    // learns it from the missing document.
    void addSourceError(const foundation::ErrorPtr& error);
    void addParseWarning(const foundation::ErrorPtr& error);
    void addParseErrorRecoverable(const foundation::ErrorPtr& error);
    void addParseErrorFatal(const foundation::ErrorPtr& error);
    // Logged by its localized description only.
    void addSAXError(const foundation::ErrorPtr& error);

    std::string className() const override { return "SVGXParseResult"; }

private:
    bool libXMLFailed_ = false;
    std::shared_ptr<SVGDocument> parsedDocument_;
    std::shared_ptr<SVGSVGElement> rootOfSVGTree_;
    std::map<std::string, std::string> namespacesEncountered_;
    std::vector<foundation::ErrorPtr> warnings_;
    std::vector<foundation::ErrorPtr> errorsRecoverable_;
    std::vector<foundation::ErrorPtr> errorsFatal_;
};

using SVGXParseResultPtr = std::shared_ptr<SVGXParseResult>;

}  // namespace svg
