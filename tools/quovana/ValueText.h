// Values of the app as one line of JSON for the terminal: what JSON cannot
// say is spelled out (a date as its description, binary data as its length,
// an account or meeting as its fields, another object as its description),
// so that any stored row or setting prints.
#pragma once

#include <string>

#include "foundation/Value.h"

namespace quovana {

// A value that JSON can write.
foundation::Value printableValue(const foundation::Value& value);
// One line of JSON; an absent value reads "null".
std::string jsonLine(const foundation::Value& value);

}  // namespace quovana
