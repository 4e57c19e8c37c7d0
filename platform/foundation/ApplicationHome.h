// The application's home: one root directory holding Documents, Library,
// Library/Caches and Library/Preferences, as the device's app container does.
// The root is chosen once, on first use: $QVA_HOME when set, else "quovana"
// under $XDG_DATA_HOME (or ~/.local/share). Tests move it with setRoot. The
// directory getters create their directory when it is missing, so callers may
// write into them straight away, as they may on the device.
#pragma once

#include <string>

namespace foundation {

class ApplicationHome {
public:
    static std::string root();
    static void setRoot(std::string root);

    static std::string documentsDirectory();
    static std::string libraryDirectory();
    static std::string cachesDirectory();
    static std::string preferencesDirectory();
    // Without creating anything, for readers that only compare paths.
    static std::string preferencesDirectoryPath();
};

}  // namespace foundation
