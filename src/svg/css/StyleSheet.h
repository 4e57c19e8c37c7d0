// The DOM's generic style sheet. The floor plans' sheets are CSS style
// sheets, which do not derive from it; nothing in the library makes one, and
// it holds its values only.
#pragma once

#include <memory>
#include <string>

#include "foundation/Object.h"

namespace svg {

class MediaList;
class Node;

class StyleSheet : public foundation::Object {
public:
    const std::string& type() const { return type_; }
    void setType(std::string type) { type_ = std::move(type); }
    const std::string& href() const { return href_; }
    void setHref(std::string href) { href_ = std::move(href); }
    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    bool disabled() const { return disabled_; }
    void setDisabled(bool disabled) { disabled_ = disabled; }
    const std::shared_ptr<Node>& ownerNode() const { return ownerNode_; }
    void setOwnerNode(std::shared_ptr<Node> node) { ownerNode_ = std::move(node); }
    const std::shared_ptr<StyleSheet>& parentStyleSheet() const { return parentStyleSheet_; }
    void setParentStyleSheet(std::shared_ptr<StyleSheet> sheet) { parentStyleSheet_ = std::move(sheet); }
    const std::shared_ptr<MediaList>& media() const { return media_; }
    void setMedia(std::shared_ptr<MediaList> media) { media_ = std::move(media); }

    std::string className() const override { return "StyleSheet"; }

private:
    std::string type_;
    std::string href_;
    std::string title_;
    bool disabled_ = false;
    std::shared_ptr<Node> ownerNode_;
    std::shared_ptr<StyleSheet> parentStyleSheet_;
    std::shared_ptr<MediaList> media_;
};

}  // namespace svg
