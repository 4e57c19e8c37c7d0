// The two tree walks behind the tag-name and id searches of elements,
// documents and the root svg element. Both are depth first in document order
// and start with the given node itself.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace svg {

class Element;
class Node;
class NodeList;

class DOMHelperUtilities {
public:
    // Adds every element that matches: with a namespace, by namespace URI and
    // local name; without, by tag name. "*" matches every name.
    static void privateGetElementsByName(const std::string& name, const std::optional<std::string>& namespaceURI,
                                         const std::shared_ptr<Node>& start, NodeList& list);
    // The first element whose "id" attribute equals the id.
    static std::shared_ptr<Element> privateGetElementById(const std::string& identifier,
                                                          const std::shared_ptr<Node>& start);
};

}  // namespace svg
