// A list data source class as a value: its name and a function making a
// new data source of it, handed to a page that is a list.
#pragma once

#include <functional>
#include <memory>
#include <string>

class ListsDataSourceProtocol;

struct ListDelegateClass {
    using Factory = std::function<std::shared_ptr<ListsDataSourceProtocol>()>;

    std::string name;
    Factory make;

    // The class made with its default constructor, under its class name.
    template <class D>
    static ListDelegateClass of(std::string className) {
        return {std::move(className), [] { return std::make_shared<D>(); }};
    }
    explicit operator bool() const { return static_cast<bool>(make); }
};
