// The addresses of the bundled service that a home keeps: those its
// downloads stored (photos, logos, documents, floor plans) in the store
// files, and those in its settings (the current meeting's reports feed).
// Each names the port the service answered on then; the delta brings only
// changed rows, so an address naming a port the service no longer answers
// on would stay dead, or reach whatever program listens there now. They are
// moved, in every store file and setting of the home, before the app opens
// one.
#pragma once

#include <string>

namespace quovana {

// A port for the service when `keptPort` is taken: one with as many digits,
// so that an address rewritten inside an archived value keeps its length
// (archives record the lengths of their strings). 0 when none is free.
int freePortOfTheSameWidth(int keptPort);

// The port that the service addresses kept in the home name
// ("//127.0.0.1:<port>/" in a setting or a store's field): the settings'
// first, else the stores'; 0 when none does.
int keptServicePort();

// Makes every service address kept in the home that names another port of
// as many digits as `port` name `port`, in every text and binary field of
// every store file in the home's database folder and in every setting.
// Answers the number of fields and settings changed; `unmovable` receives
// the number of addresses left naming a port of other digits, `error` an
// error message.
size_t moveKeptServiceAddresses(int port, size_t& unmovable, std::string& error);

}  // namespace quovana
