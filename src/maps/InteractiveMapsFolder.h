// The app's map folder for the SVG library: the map cache of an account and
// meeting, where the map-file download puts the plans and their images.
#pragma once

#include "svg/floorplan/SVGMapFolder.h"

class InteractiveMapsFolder : public svg::SVGMapFolder {
public:
    // The current account's and meeting's folder, from the settings store.
    std::optional<std::string> pathOfMapFolderFile(const std::string& fileName) const override;
    std::optional<std::string> pathOfMapFile(const std::string& fileName, const std::string& authToken,
                                             const std::string& eventId) const override;
};
