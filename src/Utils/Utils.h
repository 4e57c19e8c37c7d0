// Class-wide helpers of the application: file locations for now. The folder
// of the application's own data lives here so that the store, the document
// downloads and the map files agree on one place.
#pragma once

#include <string>

class Utils {
public:
    // "Quovana Events" inside the application's Documents folder, created
    // (with any missing parents) when absent. A creation failure is not
    // reported: later file operations inside it fail on their own.
    static std::string getCurrentDirectory();
};
