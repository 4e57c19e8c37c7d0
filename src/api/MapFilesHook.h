// Where the API client and the delta update find a meeting's map files: the
// maps service, which keeps the floor plans above the service layer,
// installs itself at start-up. With nothing installed a meeting has no map
// files and the delta renews none. Main thread.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QVAImapsLinksModel;

class MapFilesHook {
public:
    using Text = std::optional<std::string>;
    using Links = std::vector<std::shared_ptr<QVAImapsLinksModel>>;
    struct MapFiles {
        // The meeting's map-file links, floor by floor in order.
        std::function<Links(const Text& authCode, const Text& eventId)> links;
        // The delta update's silent renewal of the meeting's map files.
        std::function<void(const Text& authCode, const Text& eventId)> renewFiles;
    };

    // Replaces what is installed; empty functions remove it.
    static void install(MapFiles mapFiles);
    // Empty when nothing is installed.
    static Links links(const Text& authCode, const Text& eventId);
    // Nothing when nothing is installed.
    static void renewFiles(const Text& authCode, const Text& eventId);
};
