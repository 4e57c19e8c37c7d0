// Whether a downloaded body is the file that was asked for.
//
// A network that signs people in (a hotel's, a venue's, a train's) answers
// any address with its own page, often with status 200 and under the label
// of the file asked for, and a kept copy is shown later without asking
// again. Services, for their part, send files under generic or wrong labels.
// So a body is judged by its bytes alone, never by its label:
// - a file whose kind has a fixed signature (knownKinds) is kept only with
//   one its kind allows: a PDF's header, an image's, the office zip or the
//   older office container, the open document zip, RTF's; a ".doc", ".xls"
//   or ".ppt" is also kept as an office program's own HTML or XML export,
//   told by the marks such exports carry (the office XML namespaces, a
//   ProgId), which no network's page has;
// - any other file is kept with any known signature, and refused when it
//   opens as a web page unless it is named as one;
// - a meeting's floor plan is kept only when the SVG library reads it as a
//   whole floor plan, and a level's raster background only with an image's
//   signature;
// - an empty body is refused.
// The opening is read past blanks, comments and declarations however long
// they are, and a UTF-16 body (told by its byte-order mark) as its
// characters. A copy kept earlier is judged again by the same rule when it
// is opened (refusalOfFile), so one kept by a weaker rule heals.
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace svg {
class SVGXParseResult;
}

namespace DownloadedBody {

// The kinds told by their first bytes.
enum class Signature { None, PDF, PNG, JPEG, GIF, Zip, CompoundFile, RTF };

// The signature the first bytes carry, at the start; a PDF's header also
// later in its first kilobyte (readers accept it there, behind a byte-order
// mark, blanks or a binary header) when no markup comes before it and it
// begins a line or follows a byte no text holds, with its version and the
// line's end: a page that mentions "%PDF-1.7" is no PDF.
Signature signatureOf(std::string_view head);

// What the bytes of a file of a kind must be.
enum class Content {
    PDF,           // a PDF's header
    Image,         // a PNG, JPEG or GIF signature (a sibling kind is drawn as well)
    Office,        // the office zip, or the older container (a protected file)
    OlderOffice,   // the older container or the office zip, or an office export
    OlderWord,     // as OlderOffice, or RTF (which the word processor saves as ".doc")
    OpenDocument,  // the zip
    RTF,           // RTF's opening
};
struct Kind {
    // Lower case, without the dot.
    std::string_view extension;
    Content content;
};
// Every kind with a fixed signature, by its extension; a name with any
// other extension (or none) has none.
std::span<const Kind> knownKinds();

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
    // The content type the answer was labelled with, when it had one. The
    // judgement does not trust it: a network's page comes under any label.
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
// The same of the file at `path` (an unreadable file reads as empty): a
// download before it takes its name, and a kept copy when it is opened.
std::optional<std::string> refusalOfFile(const std::string& path, const Asked& asked);

// Whether a parse of a map file gave a floor plan: an SVG document (its root
// the SVG namespace's "svg") read to its end without a fatal error, so a plan
// cut short is none. The download keeps a plan by it and the maps' parse run
// loads one by it.
bool isFloorPlan(const svg::SVGXParseResult& parse);

}  // namespace DownloadedBody
