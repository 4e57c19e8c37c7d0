// Appearance proxies: values recorded for a class of customizable objects
// (views, bar items), optionally only inside a chain of containers (the
// classes of the views and controllers around the object, innermost first,
// outermost last, as appearanceWhenContainedIn lists them; a chain matches
// when its classes appear around the object in that order, not necessarily
// adjacent). They are applied when a view enters a window (bar items when
// their bar does, through applyTo with the bar's chain): the values for the
// object's class first, then those with longer chains, so the most specific
// wins; a property set on the object itself (UIAppearanceCustomizable) wins
// over all of them, whenever it was set. Classes match by C++ type, so
// subclasses take their base class's values. Main thread only.
//
// A class with appearance properties registers each under a key, e.g.
//   UIAppearance::appearance<UINavigationBar>().set("barTintColor",
//       [c](UINavigationBar& bar) { bar.setBarTintColor(c); });
//   UIAppearance::appearanceWhenContainedIn<UINavigationBar, UIPopoverController>()
//       .set("backgroundImage:0", ...);
// and its setters call appearancePropertyWasSet with the same key.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "foundation/Object.h"
#include "uikit/UIAppearanceCustomizable.h"

namespace uikit {

class UIView;

class UIAppearance {
public:
    // Whether an object (the customised one, or a container) is of a class;
    // `type` names the class, so that values for the same class and chain
    // replace each other.
    struct ClassTest {
        std::string type;
        std::function<bool(const foundation::Object&)> test;
    };
    using Applier = std::function<void(foundation::Object&)>;

    template <class T>
    class Proxy {
    public:
        // Records the value under `key`; a later value under the same key and
        // chain replaces it.
        void set(const std::string& key, std::function<void(T&)> apply) const {
            UIAppearance::record(isA<T>(), containers_, key, [apply = std::move(apply)](foundation::Object& object) {
                apply(dynamic_cast<T&>(object));
            });
        }

    private:
        friend class UIAppearance;
        explicit Proxy(std::vector<ClassTest> containers) : containers_(std::move(containers)) {}
        std::vector<ClassTest> containers_;
    };

    template <class T>
    static Proxy<T> appearance() {
        return Proxy<T>({});
    }
    // Containers innermost first.
    template <class T, class... Containers>
    static Proxy<T> appearanceWhenContainedIn() {
        return Proxy<T>({isA<Containers>()...});
    }

    // The objects around a view, innermost first: for each superview up to
    // the window, its controller (when it is a controller's view, the
    // controller sits outside it) and its appearance container.
    static std::vector<foundation::ObjectPtr> containerChain(const UIView& view);
    // Applies the recorded values to a view, with its own chain.
    static void applyTo(UIView& view);
    // Applies the recorded values to any customizable object inside the
    // given containers (innermost first).
    static void applyTo(foundation::Object& object, UIAppearanceCustomizable& customizable,
                        const std::vector<foundation::ObjectPtr>& containers);

    // Forgets every recorded value.
    static void resetForTests();

    template <class T>
    static ClassTest isA() {
        return {typeid(T).name(),
                [](const foundation::Object& object) { return dynamic_cast<const T*>(&object) != nullptr; }};
    }

private:
    static void record(ClassTest target, std::vector<ClassTest> containers, const std::string& key, Applier apply);
};

}  // namespace uikit
