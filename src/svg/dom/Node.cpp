// Node construction rules, the tree operations and the text of a subtree.
#include "svg/dom/Node.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <vector>

#include "foundation/Exception.h"
#include "foundation/Format.h"
#include "foundation/StringUtils.h"
#include "svg/dom/NamedNodeMap.h"
#include "svg/dom/NodeList.h"
#include "svg/dom/SharedName.h"

namespace svg {

namespace {

int typeNumber(DOMNodeType type) { return static_cast<int>(type); }

bool takesValue(DOMNodeType type) {
    switch (type) {
        case DOMNodeType::Attribute:
        case DOMNodeType::Text:
        case DOMNodeType::CDATASection:
        case DOMNodeType::ProcessingInstruction:
        case DOMNodeType::Comment:
            return true;
        default:
            return false;
    }
}

bool isKnown(DOMNodeType type) { return typeNumber(type) >= 1 && typeNumber(type) <= 12; }

const char* typeLabel(DOMNodeType type) {
    switch (type) {
        case DOMNodeType::Element:
            return "ELEMENT";
        case DOMNodeType::Attribute:
            return "ATTRIBUTE";
        case DOMNodeType::Text:
            return "TEXT";
        case DOMNodeType::CDATASection:
            return "CDATA";
        case DOMNodeType::EntityReference:
            return "ENTITY REF";
        case DOMNodeType::Entity:
            return "ENTITY";
        case DOMNodeType::ProcessingInstruction:
            return "PROCESSING INSTRUCTION";
        case DOMNodeType::Comment:
            return "COMMENT";
        case DOMNodeType::Document:
            return "DOCUMENT";
        case DOMNodeType::DocumentType:
            return "DOC TYPE";
        case DOMNodeType::DocumentFragment:
            return "DOC FRAGMENT";
        case DOMNodeType::Notation:
            return "NOTATION";
    }
    return "N/A (DATA IS MISSING FROM NODE INSTANCE)";
}

}  // namespace

Node::Node(DOMNodeType type, std::string name) : nodeType_(type), nodeName_(std::move(name)) {}

Node::Node(DOMNodeType type, std::string name, std::string value)
    : nodeType_(type), nodeName_(std::move(name)), nodeValue_(std::move(value)) {}

const std::shared_ptr<NodeList>& Node::childNodes() const {
    static const auto noChildren = std::make_shared<NodeList>();
    return childNodes_ ? childNodes_ : noChildren;
}

NodeList::Array& Node::childArray() {
    if (!childNodes_) childNodes_ = std::make_shared<NodeList>();
    return childNodes_->internalArray();
}

std::shared_ptr<Node> Node::create(DOMNodeType type, std::string name) {
    if (!isKnown(type) || takesValue(type)) return nullptr;
    std::shared_ptr<Node> node(new Node(type, std::move(name)));
    if (type == DOMNodeType::Element) node->createAttributeMap();
    return node;
}

std::shared_ptr<Node> Node::create(DOMNodeType type, std::string name, std::string value) {
    if (!isKnown(type) || !takesValue(type)) return nullptr;
    return std::shared_ptr<Node>(new Node(type, std::move(name), std::move(value)));
}

std::shared_ptr<Node> Node::createInNamespace(DOMNodeType type, std::string name,
                                              std::optional<std::string> namespaceURI) {
    auto node = create(type, std::move(name));
    if (node) node->applyNamespace(std::move(namespaceURI));
    return node;
}

std::shared_ptr<Node> Node::createInNamespace(DOMNodeType type, std::string name, std::string value,
                                              std::optional<std::string> namespaceURI) {
    auto node = create(type, std::move(name), std::move(value));
    if (node) node->applyNamespace(std::move(namespaceURI));
    return node;
}

void Node::applyNamespace(std::optional<std::string> namespaceURI) {
    const std::string& nodeName = nodeName_.str();
    std::string key = nodeName;
    key.push_back('\0');
    if (namespaceURI) key.append(1, '\1').append(*namespaceURI);
    names_ = sharedPerThread<Names>(std::move(key), [&] {
        Names names;
        size_t last = nodeName.rfind(':');
        names.localName = last == std::string::npos ? nodeName : nodeName.substr(last + 1);
        size_t first = nodeName.find(':');
        if (first != std::string::npos) names.prefix = nodeName.substr(0, first);
        names.namespaceURI = std::move(namespaceURI);
        return names;
    });
}

const Node::Names& Node::names() const {
    static const Names none;
    return names_ ? *names_ : none;
}

const Node::Links& Node::links() const {
    static const Links none;
    return links_ ? *links_ : none;
}

Node::Links& Node::linksForWriting() {
    if (!links_) links_ = std::make_unique<Links>();
    return *links_;
}

Node::~Node() {
    // A child's own destructor would release its children in turn, one stack
    // frame per level. Instead every child dying with this node hands its
    // children to this loop first. A child someone else still holds (or whose
    // list is held elsewhere) keeps its subtree untouched.
    if (!childNodes_ || childNodes_.use_count() != 1) return;
    std::vector<std::shared_ptr<Node>> dying = std::move(childNodes_->internalArray());
    childNodes_->internalArray().clear();
    while (!dying.empty()) {
        std::shared_ptr<Node> node = std::move(dying.back());
        dying.pop_back();
        if (node.use_count() == 1 && node->childNodes_ && node->childNodes_.use_count() == 1) {
            auto& children = node->childNodes_->internalArray();
            std::move(children.begin(), children.end(), std::back_inserter(dying));
            children.clear();
        }
    }
}

void Node::createAttributeMap() { attributes_ = std::make_shared<NamedNodeMap>(); }

std::shared_ptr<Node> Node::self() const {
    return std::const_pointer_cast<Node>(std::static_pointer_cast<const Node>(weak_from_this().lock()));
}

void Node::setParentNode(const std::shared_ptr<Node>& parent) { parentNode_ = parent; }

std::shared_ptr<Node> Node::appendChild(std::shared_ptr<Node> child) {
    if (!child) return nullptr;
    auto& children = childArray();
    children.erase(std::remove(children.begin(), children.end(), child), children.end());
    children.push_back(child);
    child->setParentNode(self());
    return child;
}

std::shared_ptr<Node> Node::insertBefore(std::shared_ptr<Node> child, const std::shared_ptr<Node>& refChild) {
    if (!child) return nullptr;
    auto& children = childArray();
    if (refChild) {
        auto at = std::find(children.begin(), children.end(), refChild);
        if (at == children.end()) {
            foundation::raise(foundation::kRangeException, "insertBefore: the reference node is not a child");
        }
        children.insert(at, child);
    } else {
        children.push_back(child);
    }
    child->setParentNode(self());
    return child;
}

std::shared_ptr<Node> Node::replaceChild(std::shared_ptr<Node> newChild, std::shared_ptr<Node> oldChild) {
    auto& children = childArray();
    auto at = std::find(children.begin(), children.end(), oldChild);
    if (!newChild || at == children.end()) {
        foundation::raise(foundation::kRangeException, "replaceChild: the old node is not a child");
    }
    auto me = self();
    if (newChild->nodeType() == DOMNodeType::DocumentFragment) {
        // Copied first: the fragment might be this node's own child list.
        NodeList::Array incoming = newChild->childNodes()->internalArray();
        at = children.erase(at);
        children.insert(at, incoming.begin(), incoming.end());
        for (const auto& node : incoming) node->setParentNode(me);
    } else {
        *at = newChild;
        newChild->setParentNode(me);
    }
    oldChild->setParentNode(nullptr);
    return oldChild;
}

std::shared_ptr<Node> Node::removeChild(std::shared_ptr<Node> child) {
    if (!child) return nullptr;
    auto& children = childArray();
    children.erase(std::remove(children.begin(), children.end(), child), children.end());
    child->setParentNode(nullptr);
    return child;
}

bool Node::hasChildNodes() const { return childNodes_ && childNodes_->length() > 0; }

bool Node::hasAttributes() const { return attributes_ && attributes_->length() > 0; }

std::optional<std::string> Node::textContent() const {
    switch (nodeType_) {
        case DOMNodeType::Text:
        case DOMNodeType::CDATASection:
        case DOMNodeType::ProcessingInstruction:
        case DOMNodeType::Comment:
            return nodeValue_;
        case DOMNodeType::Document:
        case DOMNodeType::DocumentType:
        case DOMNodeType::Notation:
            return std::nullopt;
        default:
            break;
    }
    // Depth first over an explicit stack: only text-like leaves add text, and
    // documents, document types and notations below add nothing.
    std::string text;
    std::vector<const Node*> pending;
    const auto& ownChildren = childNodes()->internalArray();
    for (auto it = ownChildren.rbegin(); it != ownChildren.rend(); ++it) pending.push_back(it->get());
    while (!pending.empty()) {
        const Node* node = pending.back();
        pending.pop_back();
        switch (node->nodeType_) {
            case DOMNodeType::Text:
            case DOMNodeType::CDATASection:
            case DOMNodeType::ProcessingInstruction:
            case DOMNodeType::Comment:
                if (node->nodeValue_) text += *node->nodeValue_;
                continue;
            case DOMNodeType::Document:
            case DOMNodeType::DocumentType:
            case DOMNodeType::Notation:
                continue;
            default:
                break;
        }
        const auto& children = node->childNodes()->internalArray();
        for (auto it = children.rbegin(); it != children.rend(); ++it) pending.push_back(it->get());
    }
    return text;
}

std::string Node::description() const {
    foundation::Value value;
    if (nodeValue_) {
        value = foundation::StringUtils::length16(*nodeValue_) > 10
                    ? foundation::Value(
                          foundation::Format("%@...", foundation::StringUtils::substring16(*nodeValue_, 0, 10)))
                    : foundation::Value(*nodeValue_);
    }
    return foundation::Format("Node: %@ (%@) value:[%@] @@%ld attributes + %ld x children", nodeName(),
                              typeLabel(nodeType_), value, attributes_ ? long(attributes_->length()) : 0L,
                              long(childNodes()->length()));
}

}  // namespace svg
