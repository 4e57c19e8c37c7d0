// The failures of service calls since a front last asked. A sync run ends
// in one message of its own ("Unable to load delta updates!"), while the
// cause (the service refusing the token, its own "error" text) sits in the
// failed call. A front that wants to tell the user what went wrong resets
// the record before it starts an operation and reads it afterwards.
//
// Threads: any; calls are serialised.
#pragma once

#include "foundation/Error.h"

namespace ServiceFailureRecorder {

// Keeps the error when it is the first since the last reset, and, apart,
// the first that was an HTTP 401 (the service refused the token).
void record(const foundation::ErrorPtr& error);
void reset();
// The first failure since the last reset, or none.
foundation::ErrorPtr firstFailure();
// The first 401 since the last reset, or none.
foundation::ErrorPtr firstRefusedToken();

}  // namespace ServiceFailureRecorder
