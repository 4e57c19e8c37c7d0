// Whether the bundled service's kept state (Library/local-service.json) can
// be read whole. Every part is checked for the type and the range its writer
// gives it; a part that is wrong makes the whole file unreadable, because
// reading around it would serve the rest as the whole: a list that is not
// one read as empty clears that kind on the service, whose next save
// overwrites the person's rows and whose next delta takes them out of the
// app's store; a stored answer of a status no client takes is replayed as
// is; a key dropped is a send stored twice.
#pragma once

#include <string>
#include <vector>

#include "foundation/Value.h"
#include "service/MeetingData.h"

namespace quovana {

// The lists the app writes to, kept whole.
const std::vector<testservice::MeetingKind>& userChangedKinds();

// Why `saved`, the file's JSON, holds no state a service can start from,
// naming the first part that is wrong and how (`its "port" is 70000, not one
// from 1 to 65535`); "" when every part is right. A part an earlier version
// did not write (the meeting's size, the answered keys, the organiser's
// changes, a list) may be left out.
std::string wrongInLocalServiceState(const foundation::Value& saved);

}  // namespace quovana
