// A controller class as a value: its name and a function making a new
// controller of it, so a navigation row can name the page it opens.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace uikit {
class UIViewController;
}

struct ViewControllerClass {
    using Factory = std::function<std::shared_ptr<uikit::UIViewController>()>;

    std::string name;
    Factory make;

    // The class made with its default constructor, under its class name.
    template <class C>
    static ViewControllerClass of(std::string className) {
        return {std::move(className), [] { return std::make_shared<C>(); }};
    }
    explicit operator bool() const { return static_cast<bool>(make); }
};
