#include "quovana/MaskedAddresses.h"

#include <cctype>

namespace quovana {

std::string maskedAddresses(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const bool startsWord = i == 0 || !std::isalnum(static_cast<unsigned char>(text[i - 1]));
        size_t end = i + 2;
        while (end < text.size() && std::isxdigit(static_cast<unsigned char>(text[end]))) ++end;
        if (startsWord && text.compare(i, 2, "0x") == 0 && end > i + 2) {
            out += "0x\xE2\x80\xA6";
            i = end;
        } else {
            out += text[i++];
        }
    }
    return out;
}

}  // namespace quovana
