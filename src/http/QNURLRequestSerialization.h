// The one operation through which a request and its parameters become the
// request that is sent. The session and operation managers hold their request
// serializer through this interface.
#pragma once

#include <optional>

#include "foundation/Error.h"
#include "foundation/URLRequest.h"
#include "foundation/Value.h"

class QNURLRequestSerialization {
public:
    virtual ~QNURLRequestSerialization() = default;

    // A new request derived from `request` with `parameters` (absent for none)
    // encoded into it. Nothing when the parameters cannot be encoded, with the
    // reason in *error when `error` is given. Some serializers return a request
    // together with an error; callers that care check *error.
    virtual std::optional<foundation::URLRequest> requestBySerializingRequest(const foundation::URLRequest& request,
                                                                              const foundation::Value& parameters,
                                                                              foundation::ErrorPtr* error) const = 0;
};
