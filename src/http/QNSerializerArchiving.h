// Registers the request and response serializers with the keyed unarchiver so
// that archives holding them (a session manager's, an operation's) read back.
// Explicit rather than done by static initialisers, because a static library
// drops object files nobody references, and their initialisers with them.
// Idempotent and thread-safe; call it before unarchiving.
#pragma once

void QNRegisterSerializerArchiveClasses();
