// Any bytes a server presents as its certificate: a certificate or nothing,
// and the hosts a certificate names are non-empty printable ASCII, which a
// person can read in a message as the host it is.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "foundation/Data.h"
#include "security/Certificate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    auto certificate = security::Certificate::createWithData(foundation::Data(bytes, size));
    if (!certificate) return 0;
    if (certificate->data().length() != size) std::abort();
    for (const auto& name : certificate->hostNames())
        for (unsigned char c : name.empty() ? std::string(1, '\0') : name)
            if (c < 0x21 || c > 0x7e) std::abort();
    return 0;
}
