// The archived forms of the URL-loading values an operation keeps (its
// request, response and error), written as the platform's classes
// ("NSURLRequest", "NSHTTPURLResponse", "NSError") so that an archive reads
// back wherever those are registered. An error keeps its domain, code,
// underlying error and the plain values of its user info (texts, numbers,
// data, dates and collections of them); objects in it are left out.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/Error.h"
#include "foundation/HTTPURLResponse.h"
#include "foundation/URLRequest.h"

namespace foundation {
class KeyedArchiver;
class KeyedUnarchiver;
}  // namespace foundation

void QNEncodeURLRequest(foundation::KeyedArchiver& coder, const foundation::URLRequest& request,
                        const std::string& key);
std::optional<foundation::URLRequest> QNDecodeURLRequest(const foundation::KeyedUnarchiver& coder,
                                                         const std::string& key);
// Nothing is written for a null response.
void QNEncodeURLResponse(foundation::KeyedArchiver& coder, const std::shared_ptr<foundation::URLResponse>& response,
                         const std::string& key);
std::shared_ptr<foundation::HTTPURLResponse> QNDecodeHTTPURLResponse(const foundation::KeyedUnarchiver& coder,
                                                                    const std::string& key);
void QNEncodeError(foundation::KeyedArchiver& coder, const foundation::ErrorPtr& error, const std::string& key);
foundation::ErrorPtr QNDecodeError(const foundation::KeyedUnarchiver& coder, const std::string& key);

// Registers the three classes with the keyed unarchiver; idempotent.
void QNRegisterURLLoadingArchiveClasses();
