// Whether a downloaded body is the file that was asked for.
//
// A network that signs people in (a hotel's, a venue's, a train's) answers
// any address with its own page, often with status 200 and under the label
// of the file asked for, and a kept copy is shown later without asking
// again. Services, for their part, send files under generic or wrong labels,
// and office programs export HTML under office names. So a body is judged
// by its bytes, and by its label only where the bytes cannot tell:
// - a body carrying a known file signature is kept, whatever its label or
//   name (a PNG under ".jpg" included);
// - a file whose kind has a fixed signature (PDF and the images) is kept
//   only with one;
// - any other file is refused when it opens as a web page, unless it is
//   named as a web page or labelled with its office kind's own type (an
//   HTML export saved as ".xls" or ".doc");
// - a meeting's floor plan is kept only when it reads as an SVG document,
//   and a level's raster background only with an image's signature;
// - an empty body is refused.
// The opening is read past blanks, comments and declarations however long
// they are, and a UTF-16 body (told by its byte-order mark) as its
// characters.
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace DownloadedBody {

// The kinds told by their first bytes.
enum class Signature { None, PDF, PNG, JPEG, GIF, Zip, CompoundFile, RTF };

// The signature the first bytes carry: a PDF's header anywhere in its first
// kilobyte (readers accept it there), the others at the start.
Signature signatureOf(std::string_view head);

// What a meeting's map file is by its name: a level's raster background
// (".png", ".jpg", ".jpeg", any case), a floor plan (".svg"), or, for any
// other name, what its first bytes say (a PNG or JPEG signature is an image,
// anything else a plan).
enum class MapFileRole { Image, Plan, ByBytes };
MapFileRole mapFileRoleOfName(const std::string& fileReference);
bool isMapImageSignature(Signature signature);

struct Asked {
    // The name the file is kept under; its extension names its kind.
    std::string fileName;
    // The content type the answer was labelled with, when it had one.
    std::optional<std::string> contentType;
    // One of a meeting's map files (plans and backgrounds) rather than a
    // document.
    bool mapFile = false;
};

// Why the body is not the file asked for ("nothing", "a web page", ...);
// nothing when it is to be kept. The body is read from its current
// position, `chunkSize` bytes at a time and only as far as the judgement
// needs, holding a bounded part of it at once.
std::optional<std::string> refusal(std::istream& body, const Asked& asked, size_t chunkSize = 65536);
// The same of the file at `path` (an unreadable file reads as empty).
std::optional<std::string> refusalOfFile(const std::string& path, const Asked& asked);

}  // namespace DownloadedBody
