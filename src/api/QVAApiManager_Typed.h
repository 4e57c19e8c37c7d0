// Shared by the client's operations whose caller expects one model class.
#pragma once

#include "api/QVAApiManager.h"

namespace qvaapi {

// (nil, result) when the result is an object of the class, else (the call's
// error, nothing) — which is (nil, nothing) for an answer of another shape.
template <class T>
QVAApiManager::CallCompletion typed(QVAApiManager::CallCompletion completion) {
    return [completion = std::move(completion)](const foundation::ErrorPtr& error, const foundation::Value& result) {
        if (!completion) return;
        if (auto object = result.objectAs<T>()) {
            completion(nullptr, foundation::Value(object));
        } else {
            completion(error, foundation::Value());
        }
    };
}

}  // namespace qvaapi
