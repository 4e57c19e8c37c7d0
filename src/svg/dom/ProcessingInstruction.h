// A processing instruction: named by its target, valued by its data.
#pragma once

#include <string>

#include "svg/dom/Node.h"

namespace svg {

class ProcessingInstruction : public Node {
public:
    ProcessingInstruction(std::string target, std::string data)
        : Node(DOMNodeType::ProcessingInstruction, target, data), target_(std::move(target)), data_(std::move(data)) {}

    const std::string& target() const { return target_; }
    const std::string& data() const { return data_; }

    std::string className() const override { return "ProcessingInstruction"; }

private:
    std::string target_;
    std::string data_;
};

}  // namespace svg
