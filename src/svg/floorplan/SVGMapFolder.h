// Where the images of a floor plan come from: the folder the maps service
// saves the current account's and event's map files in. The library only
// knows it through this interface, which the app registers at start-up; with
// nothing registered, no image is found.
#pragma once

#include <optional>
#include <string>

#include "graphics/Bitmap.h"

namespace svg {

class SVGMapFolder {
public:
    virtual ~SVGMapFolder() = default;

    // The path of the named file in the current map folder, whether or not
    // the file exists; none while there is no current account or event.
    virtual std::optional<std::string> pathOfMapFolderFile(const std::string& fileName) const = 0;
    // The path of the named file in the map folder of an account (by its
    // access token) and event, whether or not the file exists; none when the
    // folder cannot name one.
    virtual std::optional<std::string> pathOfMapFile(const std::string& /*fileName*/,
                                                     const std::string& /*authToken*/,
                                                     const std::string& /*eventId*/) const {
        return std::nullopt;
    }

    // The registered folder must outlive its registration; null unregisters.
    static void registerMapFolder(const SVGMapFolder* folder);
    static const SVGMapFolder* registeredMapFolder();

    // A name that stays inside the folder: not empty, not "." or "..", no "/"
    // and no NUL. The one rule for every name of a map file.
    static bool isPlainFileName(const std::string& name);

    // The bitmap of a file in the map folder; null when the name is not a
    // plain file name ("/" anywhere, ".", ".."), when no folder is registered
    // or current, or when the file cannot be read or decoded.
    static graphics::BitmapPtr getImageFromSavedLocalFileName(const std::string& fileName);
    // The registered folder's path of a map file of the account and event;
    // none under the same refusals as above.
    static std::optional<std::string> pathOfSavedMapFile(const std::string& fileName, const std::string& authToken,
                                                         const std::string& eventId);
};

}  // namespace svg
