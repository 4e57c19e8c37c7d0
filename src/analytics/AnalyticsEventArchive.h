// The analytics queue on disk, so that nothing tracked is lost when the app
// ends. Every event is appended as one record: a 4-byte big-endian length,
// then that many bytes of JSON. Reading stops at the first record that is cut
// short, oversized or unreadable: what precedes it is kept, nothing after it
// is trusted, and no content of the file can make reading fail harder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analytics/AnalyticsEvent.h"

class AnalyticsEventArchive {
public:
    static constexpr uint32_t kMaxRecordLength = 1u << 20;

    struct Contents {
        std::vector<AnalyticsEvent> events;
        // Bytes up to the end of the last good record, and of the whole file.
        uint64_t validLength = 0;
        uint64_t fileLength = 0;
    };

    // A missing file reads as empty.
    static Contents read(const std::string& path);
    // Adds one record at the end in one write; false (and logged) on failure.
    static bool append(const AnalyticsEvent& event, const std::string& path);
    // Replaces the whole file atomically.
    static bool write(const std::vector<AnalyticsEvent>& events, const std::string& path);
};
