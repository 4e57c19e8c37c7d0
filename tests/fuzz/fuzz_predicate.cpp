// Fuzzes the predicate format parser: any bytes as a format, with a fixed set
// of arguments. A malformed format must raise the format exception and
// nothing else; a parsed predicate must evaluate against a dictionary, a
// string and an array, translate to SQL or decline, and print a format that,
// when it parses again, prints the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "coredata/Constants.h"
#include "coredata/ManagedObjectModel.h"
#include "coredata/Predicate.h"
#include "coredata/SQLPredicate.h"
#include "foundation/Exception.h"

using coredata::Predicate;
using foundation::Value;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto model = [] {
        auto m = std::make_shared<coredata::ManagedObjectModel>("fuzz");
        m->addEntity("Row", "", {{"name", coredata::AttributeType::String},
                                 {"count", coredata::AttributeType::Integer32},
                                 {"flag", coredata::AttributeType::Boolean},
                                 {"when", coredata::AttributeType::Date}});
        return m;
    }();
    static const std::vector<Value> args{Value("name"), Value(3), Value::array({"a", 2, Value::null()}), Value(2.5),
                                         Value("co*nt"), Value(true), Value("flag"), Value(-7)};
    static const Value row = Value::dictionary(
        {{"name", "Ren\u00e9e"}, {"count", 3}, {"flag", true}, {"tags", Value::array({"x", "y"})}, {"sub", Value::dictionary({{"k", 1}})}});

    std::string format(reinterpret_cast<const char*>(data), size);
    coredata::PredicatePtr predicate;
    try {
        predicate = Predicate::withFormatArguments(format, args);
    } catch (const foundation::Exception& e) {
        if (e.name() != coredata::kPredicateFormatException) __builtin_trap();
        return 0;
    }
    predicate->evaluateWithObject(row);
    predicate->evaluateWithObject(Value("text"));
    predicate->evaluateWithObject(Value::array({row, Value()}));
    coredata::detail::translatePredicate(*predicate, *model->entityNamed("Row"),
                                         [](const std::string& name) { return "\"Z" + name + "\""; });
    std::string printed = predicate->predicateFormat();
    try {
        auto again = Predicate::withFormatArguments(printed, {});
        if (again->predicateFormat() != printed) __builtin_trap();
    } catch (const foundation::Exception&) {
        // Printed forms with escaped key words or dates need not parse again.
    }
    return 0;
}
