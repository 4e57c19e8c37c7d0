// The MIME type for a file-name extension, from a table of the types the
// library's users upload; "application/octet-stream" for anything else.
#pragma once

#include <string>

std::string QNMIMETypeForPathExtension(const std::string& extension);
