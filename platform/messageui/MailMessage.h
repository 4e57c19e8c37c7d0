// One mail as an RFC 5322 message file, the form every mail program opens:
// From, To, Subject, Date, Message-ID, MIME-Version and a single text/plain or
// text/html part in UTF-8. A subject outside ASCII travels as encoded words
// (RFC 2047); a body outside ASCII, or with lines too long for the format, as
// quoted-printable; line ends are CRLF. Header texts lose their line breaks,
// so no text can add a header of its own.
#pragma once

#include <string>
#include <vector>

#include "foundation/Date.h"

namespace messageui {

struct MailMessage {
    std::string from;
    std::vector<std::string> to;
    std::string subject;
    std::string body;
    bool isHTML = false;
    foundation::Date date;
    // Without the angle brackets; made up when empty.
    std::string messageID;

    std::string rfc5322Text() const;
};

}  // namespace messageui
