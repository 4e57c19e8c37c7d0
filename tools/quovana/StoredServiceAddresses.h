// When the bundled service of `quovana app` cannot get the port an earlier
// run of the home served on, the addresses that run's downloads stored
// (photos, logos, documents, floor plans) point at a port nobody answers on;
// the delta brings only changed rows, so they would stay dead. They are
// rewritten in every store file of the home before the app opens one.
#pragma once

#include <string>

namespace quovana {

// A port for the service when `keptPort` is taken: one with as many digits,
// so that an address rewritten inside an archived value keeps its length
// (archives record the lengths of their strings). 0 when none is free.
int freePortOfTheSameWidth(int keptPort);

// The port that the service addresses stored in the home's store files name
// ("//127.0.0.1:<port>/" in a field); 0 when none does.
int storedServicePort();

// Replaces "//127.0.0.1:<oldPort>/" by the new port's form in every text and
// binary field of every store file in the home's database folder. Answers
// the number of fields changed, or an error message through `error`.
size_t rewriteStoredServiceAddresses(int oldPort, int newPort, std::string& error);

}  // namespace quovana
