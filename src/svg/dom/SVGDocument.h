// The document of a parsed floor plan. Its root element and its document
// element are one and the same: setting either sets both.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "svg/dom/Document.h"

namespace svg {

class SVGDocument : public Document {
public:
    SVGDocument() = default;

    const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> title) { title_ = std::move(title); }
    const std::optional<std::string>& referrer() const { return referrer_; }
    void setReferrer(std::optional<std::string> referrer) { referrer_ = std::move(referrer); }
    const std::optional<std::string>& domain() const { return domain_; }
    void setDomain(std::optional<std::string> domain) { domain_ = std::move(domain); }
    const std::optional<std::string>& URL() const { return url_; }
    void setURL(std::optional<std::string> url) { url_ = std::move(url); }

    // The outermost svg element.
    const std::shared_ptr<Element>& rootElement() const { return documentElement(); }
    void setRootElement(std::shared_ptr<Element> element) { setDocumentElement(std::move(element)); }

    std::string className() const override { return "SVGDocument"; }

private:
    std::optional<std::string> title_;
    std::optional<std::string> referrer_;
    std::optional<std::string> domain_;
    std::optional<std::string> url_;
};

}  // namespace svg
