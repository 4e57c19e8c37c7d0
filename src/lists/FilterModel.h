// One criterion a person can set on a list: its caption, the value that
// means "no restriction", the values offered, the value chosen and the store
// predicate that value selects. Lists join the predicates of all their
// filters with AND; the filters screen edits copies and hands them back.
//
// The base answers the members every filter must supply by raising, with
// the receiver's class name in the reason: a filter that lacks one is a
// programming error. Main thread only (values and predicates come from
// synchronous fetches on the main-queue context).
#pragma once

#include <memory>
#include <string>

#include "coredata/KeyValueCoding.h"
#include "coredata/Predicate.h"
#include "foundation/Object.h"
#include "foundation/Value.h"
#include "model/EntityClass.h"

class CoreDataStack;

class FilterModel : public foundation::Object, public coredata::KeyValueCoding {
public:
    using StackPtr = std::shared_ptr<CoreDataStack>;

    FilterModel() = default;

    virtual std::string displayName() const;
    virtual std::string defaultValue() const;
    // The entity whose attribute values are offered.
    virtual EntityClassPtr requestClass() const;
    // Whether the value picker offers a search field.
    virtual bool isSearchable() const { return false; }

    // The stored value (a string, or the value object some filters offer), or
    // the default value while none is stored.
    foundation::Value selectedValue() const;
    // An absent value forgets the choice.
    void setSelectedValue(foundation::Value value);

    // The default value first, then the values a person may choose.
    virtual foundation::Value::Array getPossibleValuesWithCoreDataStack(const StackPtr& stack);
    // The predicate on the list's entity; TRUE while unset.
    virtual coredata::PredicatePtr filterPredicateWithCoreDataStack(const StackPtr& stack);

    // A new filter of the receiver's class, made as a plain new one is, that
    // shares the receiver's stored value (the same object, not a copy).
    std::shared_ptr<FilterModel> copy() const;

    // "selectedValue", "defaultValue" and "displayName", for predicates over filters.
    foundation::Value valueForKey(const std::string& key) const override;

    std::string className() const override { return "FilterModel"; }

protected:
    // A plain new instance of the receiver's class.
    virtual std::shared_ptr<FilterModel> makeInstance() const;
    // Copies what a subclass keeps beyond the stored value.
    virtual void copyExtraStateTo(FilterModel& copy) const { (void)copy; }
    // Whether the chosen value is the default one (string equality).
    virtual bool isUnset() const;
    // Raises the named exception of an abstract member.
    [[noreturn]] void raiseNotImplemented(const std::string& member) const;

private:
    foundation::Value selectedValue_;
};

using FilterModelPtr = std::shared_ptr<FilterModel>;
