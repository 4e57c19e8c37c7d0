// The one operation through which a finished response and its body become a
// result and an error. The transports apply their serializer to every
// finished task or operation and hand both on to the caller.
#pragma once

#include <memory>
#include <optional>

#include "foundation/Data.h"
#include "foundation/Error.h"
#include "foundation/HTTPURLResponse.h"
#include "foundation/Value.h"

class QNURLResponseSerialization {
public:
    virtual ~QNURLResponseSerialization() = default;

    // The result (absent for none) of a response and its body (nothing when
    // there was none). A failure is stored in *error when `error` is given; a
    // result may come together with an error (the parsed body of a response
    // whose status is not acceptable). Safe to call from several threads at
    // once once the serializer is configured.
    virtual foundation::Value responseObjectForResponse(const std::shared_ptr<foundation::URLResponse>& response,
                                                        const std::optional<foundation::Data>& data,
                                                        foundation::ErrorPtr* error) const = 0;
};
