// The meeting generator. One small random source (splitmix64) drives every
// choice, in a fixed order, so a seed always gives the same meeting on every
// machine; ids are decimal texts in ranges of their own per kind.
#include "service/MeetingGenerator.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>
#include <set>

#include "service/TestDocuments.h"
#include "service/TestImages.h"

namespace testservice {

using foundation::Value;

namespace {

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 ..< n (n > 0).
    int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <size_t N>
    const char* pick(const char* const (&items)[N]) {
        return items[below(static_cast<int>(N))];
    }

private:
    uint64_t state_;
};

// Participants' photos are drawn from this many files.
constexpr int kPhotoFiles = 12;

const char* const kFirstNames[] = {"Amara", "Lukas", "Sofia", "Kenji", "Fatima", "Mateo", "Ingrid", "Tomasz", "Aisha",
                                   "Oliver", "Mei", "Rafael", "Elena", "Kwame", "Noor", "Henrik", "Priya", "Jonas",
                                   "Camila", "Dmitri", "Zanele", "Pierre", "Yuki", "Leila", "Santiago", "Hana",
                                   "Oskar", "Amelia", "Tariq", "Greta", "Ravi", "Chloé", "Björn", "Lucía", "Emeka",
                                   "Saoirse", "Arjun", "Marta", "Hiroshi", "Nadia"};
const char* const kLastNames[] = {"Okafor", "Müller", "Rossi", "Tanaka", "Haddad", "García", "Johansson", "Nowak",
                                  "Bello", "Smith", "Chen", "Costa", "Popescu", "Mensah", "Rahman", "Nielsen", "Iyer",
                                  "Weber", "Ortiz", "Ivanov", "Dlamini", "Dubois", "Sato", "Karimi", "López", "Kim",
                                  "Lindqvist", "Brown", "Aziz", "Fischer", "Patel", "Martin", "Eriksson", "Fernández",
                                  "Nwosu", "O'Brien", "Singh", "Kowalska", "Watanabe", "Benali"};
const char* const kCountries[] = {"Switzerland", "Nigeria", "Germany", "Italy", "Japan", "Lebanon", "Spain",
                                  "Sweden", "Poland", "United Kingdom", "China", "Brazil", "Romania", "Ghana",
                                  "Bangladesh", "Denmark", "India", "Mexico", "Russia", "South Africa", "France",
                                  "Iran", "Argentina", "Korea", "United States", "Pakistan", "Canada", "Kenya"};
const char* const kCities[] = {"Geneva", "Lagos", "Berlin", "Milan", "Tokyo", "Beirut", "Madrid", "Stockholm",
                               "Warsaw", "London", "Shanghai", "São Paulo", "Bucharest", "Accra", "Dhaka", "Copenhagen",
                               "Mumbai", "Mexico City", "Nairobi", "Cape Town", "Paris", "Toronto", "Seoul"};
const char* const kOrganizationTypes[] = {"Business", "Government", "Civil Society", "Academia", "Media",
                                          "International Organization"};
const char* const kSectors[] = {"Energy", "Financial Services", "Healthcare", "Technology", "Mobility",
                                "Agriculture", "Consumer Goods", "Chemicals", "Education", "Public Sector"};
const char* const kOrganizationWords[] = {"Global", "United", "Northern", "Pacific", "Atlas", "Meridian", "Helix",
                                          "Summit", "Orion", "Delta", "Crescent", "Vertex", "Harbor", "Aurora"};
const char* const kOrganizationKinds[] = {"Holdings", "Institute", "Foundation", "Ministry", "Bank", "Group",
                                          "University", "Partners", "Network", "Labs", "Alliance", "Media"};
const char* const kPositions[] = {"Chief Executive Officer", "Minister", "Director", "Professor", "Founder",
                                  "Head of Strategy", "Editor-in-Chief", "Managing Director", "Chair",
                                  "Senior Fellow", "President", "Chief Economist"};
const char* const kNetworks[] = {"Young Leaders", "Technology Pioneers", "Social Entrepreneurs", "Global Shapers",
                                 "Industry Partners"};
// Networks of one community each: the participants' group filter offers
// exactly these communities.
const char* const kGroupNetworks[][2] = {{"Patrons", "Patrons Circle"},
                                         {"Alumni Council", "Council Members"},
                                         {"Arts Forum", "Cultural Leaders"}};
const char* const kCommunities[] = {"Climate", "Health", "Digital Economy", "Finance", "Education", "Cities",
                                    "Food Systems", "Oceans"};
const char* const kTopics[] = {"Climate Finance", "The Future of Work", "Global Health Security", "Digital Trust",
                               "Energy Transition", "Food Systems", "Ocean Economy", "Urban Mobility",
                               "Artificial Intelligence", "Trade and Investment", "Education for All",
                               "Financial Inclusion", "Circular Economy", "Cybersecurity", "Space Economy",
                               "Water Security", "Biodiversity", "Quantum Computing", "Supply Chains",
                               "Gender Parity"};
const char* const kTopicAngles[] = {"Outlook", "in Practice", "Beyond 2030", "at a Crossroads", "Reimagined",
                                    "for Growth", "and Resilience", "Briefing", "Roundtable", "Scenarios"};
const char* const kSessionTypes[] = {"Plenary", "Workshop", "Panel", "Briefing", "Roundtable", "Social"};
const char* const kProgrammes[] = {"Official Programme", "Partner Programme", "Community Programme"};
const char* const kStructures[] = {"Panel discussion", "Interactive session", "Keynote and Q&A", "Working group"};
const char* const kContributorTypes[] = {"Speaker", "Moderator", "Panelist", "Discussion Leader"};
const char* const kEngagements[] = {"Strategic Partner", "Foundation Partner", "Associate Partner"};
const char* const kPermissionCodes[] = {
    "event:notes",          "event:change",          "relationships:read",         "relationships:write",
    "messages:read",        "messages:send",         "user:privacy_settings",      "my_agenda:personal_entries",
    "my_agenda:invitations", "my_agenda:selections", "my_agenda:responsibilities", "event:recommendations"};
const char* const kSubjects[] = {"Meeting at the congress centre", "Follow-up on the panel", "Dinner invitation",
                                 "Your slides", "Introduction", "Bilateral request", "Thank you",
                                 "Press interview", "Side event", "Programme change"};

// Two draws in a fixed order (the order of function arguments is not fixed).
std::string phone(Random& random, const char* prefix) {
    long long exchange = random.below(1000);
    long long line = random.below(10000);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%s %03lld %04lld", prefix, exchange, line);
    return buffer;
}

std::string format(const char* pattern, long long a, long long b = 0, long long c = 0) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, pattern, a, b, c);
    return buffer;
}

// Server date-times in the meeting's time zone, its offset written "+02:00"
// as the service writes it.
std::string dateTime(int day, int minuteOfDay) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "2026-06-%02dT%02d:%02d:00+02:00", 15 + day, minuteOfDay / 60,
                  minuteOfDay % 60);
    return buffer;
}

// A meeting's first or last day as the service writes it: a day without time.
std::string dayText(int year, int dayOfJune) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-06-%02d", year, dayOfJune);
    return buffer;
}

std::string lowerAscii(std::string text) {
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x80 && std::isalnum(c)) out += static_cast<char>(std::tolower(c));
        else if (c == ' ' || c == '-' || c == '\'') out += '.';
    }
    return out;
}

std::string pdfFile(const std::string& title) {
    return makePDF(title, {title + " of the meeting, as handed out at the registration desk.",
                           "This page is a sample made by the local service: the meeting's own documents "
                           "take its place on the organisation's server."});
}

struct RoomPlace {
    std::string id;
    std::string name;
    int venue;
    int level;
    int slot;
};

std::string floorPlanSVG(const std::string& title, const std::vector<const RoomPlace*>& rooms) {
    int columns = std::max<int>(1, static_cast<int>((rooms.size() + 1) / 2));
    int width = 40 + columns * 170;
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- " + title +
                      " -->\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width) +
                      "\" height=\"320\" viewBox=\"0 0 " + std::to_string(width) + " 320\">\n"
                      "  <style>.room{fill:#4a90d9;stroke:#1c3d66;stroke-width:2}</style>\n"
                      "  <rect id=\"corridor\" x=\"0\" y=\"130\" width=\"" + std::to_string(width) +
                      "\" height=\"60\" fill=\"#dddddd\"/>\n";
    for (size_t i = 0; i < rooms.size(); ++i) {
        int x = 20 + static_cast<int>(i / 2) * 170;
        int y = i % 2 == 0 ? 20 : 210;
        svg += "  <rect id=\"R" + rooms[i]->id + "\" class=\"room\" x=\"" + std::to_string(x) + "\" y=\"" +
               std::to_string(y) + "\" width=\"150\" height=\"90\" isSelectable=\"true\" type=\"room\" idRoom=\"" +
               rooms[i]->id + "\" categoryName=\"Meeting\" title=\"" + rooms[i]->name + "\"/>\n";
        svg += "  <beacon id=\"B" + rooms[i]->id + "\" major=\"" + std::to_string(rooms[i]->venue + 1) +
               "\" minor=\"" + std::to_string(100 * rooms[i]->level + static_cast<int>(i)) + "\"/>\n";
        svg += "  <roomBeaconProximity idBeacon=\"B" + rooms[i]->id + "\" idRoom=\"R" + rooms[i]->id + "\"/>\n";
    }
    for (size_t i = 0; i + 1 < rooms.size(); ++i) {
        int x1 = 95 + static_cast<int>(i / 2) * 170, x2 = 95 + static_cast<int>((i + 1) / 2) * 170;
        svg += "  <edge x1=\"" + std::to_string(x1) + "\" y1=\"160\" x2=\"" + std::to_string(x2) +
               "\" y2=\"160\" idStart=\"R" + rooms[i]->id + "\" idEnd=\"R" + rooms[i + 1]->id + "\"/>\n";
    }
    svg += "  <path id=\"CAFE\" d=\"M20 300 H120 V318 H20 Z\" fill=\"#e8a33c\" isSelectable=\"true\" type=\"cafe\" "
           "title=\"Café\"/>\n</svg>\n";
    return svg;
}

}  // namespace

std::string generatedEventId(uint64_t seed) {
    return std::to_string(1000 + seed % 9000);
}

std::string demoTokenForSeed(uint64_t seed) {
    Random random(seed ^ 0x5EED70CE5ull);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "qva-demo-%016llx%08llx", static_cast<unsigned long long>(random.next()),
                  static_cast<unsigned long long>(random.next() & 0xffffffffull));
    return buffer;
}

MeetingData generateMeeting(const MeetingGeneratorOptions& options) {
    Random random(options.seed);
    const int sessionCount = std::clamp(options.sessions, 1, kMaxGeneratedSessions);
    const int participantCount = std::clamp(options.participants, kMinGeneratedParticipants, kMaxGeneratedParticipants);
    const int days = std::clamp(options.days, 1, 14);
    MeetingData data;
    const std::string eventId = generatedEventId(options.seed);
    data.eventId = eventId;
    const std::string files = std::string(kRootPlaceholder) + "/files/";

    // The meeting, and last year's edition beside it.
    auto event = [&](const std::string& id, const std::string& name, int year, bool current) {
        std::string start = current ? dayText(year, 15) : dayText(year, 16);
        std::string end = current ? dayText(year, 15 + days - 1) : dayText(year, 19);
        return Value::dictionary(
            {{"id", id},
             {"revision", 1},
             {"name", name},
             {"address", "17 Rue de Varembé"},
             {"city", "Geneva"},
             {"country", "Switzerland"},
             {"description", "The yearly gathering of the Quovana community: " + std::to_string(sessionCount) +
                                 " sessions over " + std::to_string(days) + " days."},
             {"startDate", start},
             {"endDate", end},
             {"url", "https://meeting.quovana.example/" + id},
             {"reportsRssFeedUrl", current ? Value(std::string(kRootPlaceholder) + "/feeds/" + id + "/reports.rss")
                                           : Value()},
             {"feedbackFormUrl", "https://meeting.quovana.example/" + id + "/feedback"},
             {"votingUrl", "https://meeting.quovana.example/" + id + "/vote"},
             {"linksUrl", "https://meeting.quovana.example/" + id + "/links"},
             {"documents", Value(Value::Array{})},
             {"floorPlans", Value(Value::Array{})}});
    };
    auto& events = data.items(MeetingKind::Events);
    events.push_back(event(eventId, "Quovana Annual Meeting 2026", 2026, true));
    events.push_back(event(generatedEventId(options.seed + 1), "Quovana Annual Meeting 2025", 2025, false));

    // Organisations and participants.
    const int organizationCount = std::max(3, participantCount / 6);
    auto& organizations = data.items(MeetingKind::Organizations);
    std::vector<std::string> organizationNames, organizationTypes;
    for (int i = 0; i < organizationCount; ++i) {
        std::string id = std::to_string(200001 + i);
        std::string word = random.pick(kOrganizationWords);
        std::string name = word + " " + random.pick(kOrganizationKinds) + " " + std::to_string(i + 1);
        std::string type = random.pick(kOrganizationTypes);
        organizationNames.push_back(name);
        organizationTypes.push_back(type);
        const char* city = random.pick(kCities);
        organizations.push_back(Value::dictionary({{"id", id},
                                                   {"revision", 1 + random.below(3)},
                                                   {"name", name},
                                                   {"commonName", name},
                                                   {"address", format("%lld Main Street", 1 + random.below(200))},
                                                   {"city", city},
                                                   {"country", random.pick(kCountries)},
                                                   {"zipCode", format("%05lld", 1000 + random.below(90000))},
                                                   {"poBox", format("PO Box %lld", 1 + random.below(999))},
                                                   {"email", "contact@" + lowerAscii(name) + ".example"},
                                                   {"website", "https://" + lowerAscii(name) + ".example"},
                                                   {"phone", phone(random, "+41 22")},
                                                   {"profile", name + " works on " + random.pick(kTopics) + "."},
                                                   {"sector", random.pick(kSectors)},
                                                   {"topLevelOrganizationId", id},
                                                   {"organizationType", type}}));
    }

    struct Person {
        std::string id, first, last, full, email;
        Value::Array contributions;
    };
    std::vector<Person> people;
    people.reserve(participantCount);
    for (int i = 0; i < participantCount; ++i) {
        Person person;
        person.id = std::to_string(100001 + i);
        person.first = i == 0 ? "Dana" : random.pick(kFirstNames);
        person.last = i == 0 ? "Demo" : random.pick(kLastNames);
        person.full = person.first + " " + person.last;
        person.email = lowerAscii(person.first + "." + person.last) + std::to_string(i + 1) + "@quovana.test";
        people.push_back(std::move(person));
    }

    // Venues and rooms: rooms enough for every session of a day in 6 slots.
    const int perDay = (sessionCount + days - 1) / days;
    const int roomCount = std::max(6, (perDay + 5) / 6);
    std::vector<RoomPlace> places;
    for (int i = 0; i < roomCount; ++i) {
        bool hotel = i >= roomCount * 3 / 4;
        int level = hotel ? 0 : i % 3;
        places.push_back({std::to_string(400001 + i),
                          (hotel ? "Hotel Salon " : "Room ") + std::string(1, static_cast<char>('A' + level)) +
                              std::to_string(i + 1),
                          hotel ? 1 : 0, level, i});
    }
    auto mapFile = [&](int venue, int level) {
        return "venue-" + std::to_string(410001 + venue) + "-level-" + std::to_string(level) + ".svg";
    };
    auto& venues = data.items(MeetingKind::Venues);
    for (int venue = 0; venue < 2; ++venue) {
        Value::Array levels;
        int levelCount = venue == 0 ? 3 : 1;
        for (int level = 0; level < levelCount; ++level) {
            std::vector<const RoomPlace*> onLevel;
            for (const auto& place : places)
                if (place.venue == venue && place.level == level) onLevel.push_back(&place);
            std::string file = mapFile(venue, level);
            std::string name = level == 0 ? "Ground floor" : "Level " + std::to_string(level);
            data.files["/files/maps/" + eventId + "/" + file] = {"image/svg+xml", floorPlanSVG(name, onLevel)};
            std::string href = files + "maps/" + eventId + "/" + file;
            levels.push_back(Value::dictionary(
                {{"name", name},
                 {"default", level == 0},
                 {"level", level},
                 {"imageUrl", href},
                 {"interactive_maps", Value(Value::Array{Value::dictionary({{"href", href}, {"rel", file}})})}}));
        }
        venues.push_back(Value::dictionary({{"id", std::to_string(410001 + venue)},
                                            {"revision", 1},
                                            {"name", venue == 0 ? "Congress Centre" : "Lakeside Hotel"},
                                            {"latitude", venue == 0 ? 46.2227 : 46.2101},
                                            {"longitude", venue == 0 ? 6.1372 : 6.1510},
                                            {"primary", venue == 0},
                                            {"floorLevels", Value(std::move(levels))}}));
    }
    auto& rooms = data.items(MeetingKind::Rooms);
    for (const auto& place : places) {
        rooms.push_back(Value::dictionary({{"id", place.id},
                                           {"revision", 1},
                                           {"name", place.name},
                                           {"venueId", std::to_string(410001 + place.venue)},
                                           {"mapUrl", files + "maps/" + eventId + "/" + mapFile(place.venue, place.level)}}));
    }

    // Sessions: day by day, slot by slot, room by room.
    auto& sessions = data.items(MeetingKind::Sessions);
    std::vector<std::string> demoSessions;
    for (int i = 0; i < sessionCount; ++i) {
        int day = i / perDay, index = i % perDay;
        int slot = index / roomCount, room = index % roomCount;
        int start = 8 * 60 + slot * 105 + (random.chance(30) ? 15 : 0);
        int length = random.chance(50) ? 60 : 90;
        std::string id = std::to_string(300001 + i);
        std::string topic = random.pick(kTopics);
        std::string title = topic + " " + random.pick(kTopicAngles);
        Value::Array contributors;
        // A small meeting has fewer participants than a session may want
        // contributors: the draw stays (the rest of the meeting is the same
        // for every size), its count is what the meeting can give.
        int contributorCount = std::min(2 + random.below(4), participantCount);
        std::set<int> chosen;
        if (i % std::max(1, sessionCount / 4) == 1) chosen.insert(0);  // the demo user speaks a few times
        while (static_cast<int>(chosen.size()) < contributorCount) chosen.insert(random.below(participantCount));
        for (int who : chosen) {
            const char* type = contributors.empty() ? "Moderator" : random.pick(kContributorTypes);
            contributors.push_back(Value::dictionary({{"participantId", people[who].id}, {"type", type}}));
            people[who].contributions.push_back(Value::dictionary({{"sessionId", id}, {"type", type}}));
            if (who == 0) demoSessions.push_back(id);
        }
        Value::Array insights;
        if (random.chance(20)) {
            insights.push_back(Value::dictionary({{"id", "I" + id},
                                                  {"description", "Key insight on " + topic + "."},
                                                  {"creationDatetime", dateTime(day, start + length)}}));
        }
        sessions.push_back(Value::dictionary(
            {{"id", id},
             {"revision", 1 + random.below(4)},
             {"title", title},
             {"keyword", topic},
             {"startDatetime", dateTime(day, start)},
             {"endDatetime", dateTime(day, start + length)},
             {"type", random.pick(kSessionTypes)},
             {"programmeName", random.pick(kProgrammes)},
             {"description", "A session on " + title + " with " + std::to_string(contributorCount) + " contributors."},
             {"roomId", places[room].id},
             {"capacity", 40 + 20 * random.below(10)},
             {"cancelled", random.chance(2)},
             {"pressAllowed", random.chance(60)},
             {"signupRequired", random.chance(25)},
             {"spouseAllowed", random.chance(15)},
             {"withMeal", start >= 12 * 60 && start < 13 * 60 + 30},
             {"fee", 0},
             {"currencyIsoCode", "CHF"},
             {"feedbackUrl", "https://meeting.quovana.example/feedback/" + id},
             {"webcastUrl", random.chance(30) ? Value("https://live.quovana.example/" + id) : Value()},
             {"votingUrl", "https://meeting.quovana.example/vote/" + id},
             {"sessionStructure", random.pick(kStructures)},
             {"preparatoryDiscussionDurationInMinutes", random.chance(20) ? 30 : 0},
             {"contributors", Value(std::move(contributors))},
             {"insights", Value(std::move(insights))}}));
    }

    // Participants, now that their contributions are known.
    auto& participants = data.items(MeetingKind::Participants);
    participants.reserve(participantCount);
    for (int i = 0; i < participantCount; ++i) {
        Person& person = people[i];
        int organization = i % organizationCount;
        Value::Array networks;
        int memberships = random.below(3);
        for (int m = 0; m < memberships; ++m)
            networks.push_back(Value::dictionary({{"network", random.pick(kNetworks)},
                                                  {"quovanaCommunity", random.pick(kCommunities)}}));
        // Every seventh participant belongs to a group as well; chosen with no
        // random draw, so the rest of the meeting stays as it was.
        if (i % 7 == 3) {
            const auto& group = kGroupNetworks[(i / 7) % std::size(kGroupNetworks)];
            networks.push_back(Value::dictionary({{"network", group[0]}, {"quovanaCommunity", group[1]}}));
        }
        Value::Dictionary social;
        if (random.chance(40)) social["twitter"] = "@" + lowerAscii(person.first) + std::to_string(i + 1);
        if (random.chance(20)) social["linkedin"] = "in/" + lowerAscii(person.full);
        // Every third participant has a photo, from a small set of files; the
        // choice uses no random draw, so the rest of the meeting stays as it was.
        Value photo;
        if (i % 3 == 0) {
            std::string path = "/files/photos/" + eventId + "/photo-" + std::to_string(i % kPhotoFiles + 1) + ".jpg";
            if (!data.files.count(path)) data.files[path] = {"image/jpeg", makeJPEG(96, 96, false, 40 + 17 * (i % kPhotoFiles))};
            photo = Value(std::string(kRootPlaceholder) + path);
        }
        participants.push_back(Value::dictionary(
            {{"id", person.id},
             {"photoUrl", photo},
             {"revision", 1 + random.below(3)},
             {"firstName", person.first},
             {"lastName", person.last},
             {"fullName", person.full},
             {"email", person.email},
             {"phone", phone(random, "+41 22")},
             {"mobilePhone", phone(random, "+41 79")},
             {"profile", person.full + " is " + random.pick(kPositions) + " at " + organizationNames[organization] + "."},
             {"countryOfNationality", random.pick(kCountries)},
             {"organizationId", std::to_string(200001 + organization)},
             {"organizationName", organizationNames[organization]},
             {"topLevelOrganizationId", std::to_string(200001 + organization)},
             {"organizationType", organizationTypes[organization]},
             {"positionTitle", random.pick(kPositions)},
             {"inBooklet", random.chance(90)},
             {"publicFigure", random.chance(10)},
             {"contributions", Value(std::move(person.contributions))},
             {"quovanaNetworks", Value(std::move(networks))},
             {"socialAccounts", Value(std::move(social))}}));
    }

    // Partners, delegates, delegators, permissions, notifications.
    auto& partners = data.items(MeetingKind::Partners);
    for (int i = 0; i < std::min(24, organizationCount); ++i) {
        std::string logo = "/files/logos/" + eventId + "/logo-" + std::to_string(420001 + i) + ".png";
        data.files[logo] = {"image/png", makePNG(120, 60, 8, PNGKind::RGBA, 30 + 9 * i)};
        partners.push_back(Value::dictionary({{"id", std::to_string(420001 + i)},
                                              {"logoUrl", std::string(kRootPlaceholder) + logo},
                                              {"revision", 1},
                                              {"name", organizationNames[i]},
                                              {"commonName", organizationNames[i]},
                                              {"engagementType", random.pick(kEngagements)},
                                              {"profile", organizationNames[i] + " partners with Quovana."}}));
    }
    auto personDictionary = [&](const std::string& id, const Person& person, int revision) {
        return Value::dictionary({{"id", id},
                                  {"revision", revision},
                                  {"firstName", person.first},
                                  {"lastName", person.last},
                                  {"fullName", person.full}});
    };
    auto& delegates = data.items(MeetingKind::MeetingDelegates);
    for (int i = 0; i < 3; ++i) delegates.push_back(personDictionary(std::to_string(430001 + i), people[1 + i % (participantCount - 1)], 1));
    auto& delegators = data.items(MeetingKind::LoginDelegators);
    // The app offers a password change only to a delegator typed exactly "spouse".
    const char* delegatorTypes[] = {"spouse", "Assistant"};
    for (int i = 0; i < 2; ++i) {
        Value delegator = personDictionary(std::to_string(440001 + i), people[(4 + i) % participantCount], 1);
        delegator["email"] = people[(4 + i) % participantCount].email;
        delegator["username"] = lowerAscii(people[(4 + i) % participantCount].full);
        delegator["type"] = delegatorTypes[i];
        delegators.push_back(std::move(delegator));
    }
    auto& permissions = data.items(MeetingKind::Permissions);
    for (const char* code : kPermissionCodes) permissions.push_back(Value::dictionary({{"code", code}, {"granted", true}}));
    auto& notifications = data.items(MeetingKind::Notifications);
    const char* notices[] = {"Welcome to the Annual Meeting!", "The plenary moved to the main hall.",
                             "Your shuttle leaves at 07:30.", "Badge pick-up is open at the Congress Centre.",
                             "New documents are available."};
    for (int i = 0; i < 5; ++i) {
        notifications.push_back(Value::dictionary({{"id", std::to_string(450001 + i)},
                                                   {"revision", 1},
                                                   {"message", notices[i]},
                                                   {"acknowledged", i == 0},
                                                   {"creation_date", dateTime(std::min(i, days - 1), 7 * 60 + i)}}));
    }

    // The demo user's notes, follows and agenda; in a small meeting the
    // same person or session comes round again, and keeps its one note.
    auto& participantNotes = data.items(MeetingKind::ParticipantNotes);
    auto& sessionNotes = data.items(MeetingKind::SessionNotes);
    for (int i = 0; i < 5; ++i) {
        const Person& person = people[1 + (i * 7) % (participantCount - 1)];
        if (!data.find(MeetingKind::ParticipantNotes, "pn-" + person.id))
            participantNotes.push_back(Value::dictionary({{"id", "pn-" + person.id},
                                                          {"revision", 1},
                                                          {"participantId", person.id},
                                                          {"note", "Met " + person.first + " at the welcome reception."}}));
        const std::string sessionId = std::to_string(300001 + (i * 11) % sessionCount);
        if (!data.find(MeetingKind::SessionNotes, "sn-" + sessionId))
            sessionNotes.push_back(Value::dictionary({{"id", "sn-" + sessionId},
                                                      {"revision", 1},
                                                      {"sessionId", sessionId},
                                                      {"note", "Ask about the follow-up report."}}));
    }
    auto& following = data.items(MeetingKind::Following);
    for (int i = 0; i < std::min(options.follows, participantCount - 1); ++i)
        following.push_back(personDictionary(people[1 + (i * 13) % (participantCount - 1)].id,
                                             people[1 + (i * 13) % (participantCount - 1)], 1));
    following.erase(std::unique(following.begin(), following.end(),
                                [](const Value& a, const Value& b) { return a["id"] == b["id"]; }),
                    following.end());

    auto agendaEntry = [&](const std::string& prefix, const Value& session, const char* status) {
        return Value::dictionary({{"id", prefix + idText(session["id"])},
                                  {"revision", 1},
                                  {"status", status},
                                  {"withSpouse", false},
                                  {"session", session}});
    };
    std::set<std::string> inAgenda(demoSessions.begin(), demoSessions.end());
    auto& responsibilities = data.items(MeetingKind::AgendaResponsibilities);
    for (const auto& id : demoSessions)
        responsibilities.push_back(agendaEntry("resp-", *data.find(MeetingKind::Sessions, id), "Speaker"));
    auto& selections = data.items(MeetingKind::AgendaSelections);
    auto& invitations = data.items(MeetingKind::AgendaInvitations);
    // Every third pick an invitation (the first one accepted), the others
    // selections: 12 selections and 5 invitations when there are sessions enough.
    for (int i = 0, picked = 0; i < sessionCount && (selections.size() < 12 || invitations.size() < 5);
         i += std::max(1, sessionCount / 20)) {
        const Value& session = sessions[static_cast<size_t>(i)];
        std::string id = idText(session["id"]);
        if (!inAgenda.insert(id).second) continue;
        bool invitation = (picked++ % 3 == 2 && invitations.size() < 5) || selections.size() >= 12;
        if (invitation) invitations.push_back(agendaEntry("inv-", session, invitations.empty() ? "Confirmed" : "Invited"));
        else selections.push_back(agendaEntry("sel-", session, "Selected"));
    }
    auto& personal = data.items(MeetingKind::PersonalEntries);
    const char* personalSubjects[] = {"Breakfast with the delegation", "Call with the office", "Press briefing prep",
                                      "Gym"};
    for (int i = 0; i < 4; ++i) {
        int day = i % days;
        personal.push_back(Value::dictionary({{"id", "pe-" + std::to_string(i + 1)},
                                              {"revision", 1},
                                              {"status", "Personal"},
                                              {"subject", personalSubjects[i]},
                                              {"body", "Personal note " + std::to_string(i + 1)},
                                              {"startDatetime", dateTime(day, 7 * 60)},
                                              {"endDatetime", dateTime(day, 7 * 60 + 45)}}));
    }

    // Messages in threads between the demo user and others.
    auto recipient = [&](const Person& person) {
        return Value::dictionary({{"participantId", person.id},
                                  {"name", person.full},
                                  {"mailAddress", person.email},
                                  {"shortDisplay", person.full},
                                  {"longDisplay", person.full + " <" + person.email + ">"},
                                  {"externalAddress", false},
                                  {"valid", true}});
    };
    auto& messages = data.items(MeetingKind::Messages);
    int messageId = 0;
    for (int thread = 1; thread <= 12; ++thread) {
        const Person& other = people[1 + (thread * 17) % (participantCount - 1)];
        std::string subject = kSubjects[(thread - 1) % 10];
        int count = 2 + random.below(4);
        for (int m = 0; m < count; ++m) {
            bool fromDemo = m % 2 == 1;
            const Person& sender = fromDemo ? people[0] : other;
            const Person& receiver = fromDemo ? other : people[0];
            bool last = m == count - 1;
            messages.push_back(Value::dictionary(
                {{"id", ++messageId},
                 {"threadId", thread},
                 {"subject", m == 0 ? subject : "Re: " + subject},
                 {"body", "Message " + std::to_string(m + 1) + " about " + subject + "."},
                 {"read", fromDemo || !last || thread % 3 != 0},
                 // In the three days before the meeting: nothing yet sent lies ahead of a clock on its first day.
                 {"sendDatetime", dateTime((thread - 1) / 4 - 3, 8 * 60 + thread * 20 + m * 7)},
                 {"participantId", std::stoll(sender.id)},
                 {"folderName", fromDemo ? "Sent" : "Inbox"},
                 {"from", recipient(sender)},
                 {"to", Value(Value::Array{recipient(receiver)})}}));
        }
    }
    auto& recipients = data.items(MeetingKind::MessageRecipients);
    recipients.reserve(participantCount);
    for (int i = 1; i < participantCount; ++i) recipients.push_back(personDictionary(people[i].id, people[i], 1));

    // Documents, the reports feed and their files.
    auto& documents = data.items(MeetingKind::Documents);
    const char* documentTitles[] = {"Programme at a glance", "Venue guide", "Security information",
                                    "Shuttle timetable", "Participant list", "Code of conduct"};
    const char* categories[] = {"Practical", "Practical", "Security", "Transport", "Programme", "General"};
    for (int i = 0; i < 6; ++i) {
        std::string filename = lowerAscii(documentTitles[i]) + ".pdf";
        std::string path = "/files/documents/" + eventId + "/" + filename;
        data.files[path] = {"application/pdf", pdfFile(documentTitles[i])};
        documents.push_back(Value::dictionary({{"title", documentTitles[i]},
                                               {"category", categories[i]},
                                               {"url", std::string(kRootPlaceholder) + path},
                                               {"extension", "pdf"},
                                               {"filename", filename},
                                               {"description", std::string(documentTitles[i]) + " of the meeting."},
                                               {"index", i}}));
    }
    std::string feed = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<rss version=\"2.0\" xmlns:media=\"http://search.yahoo.com/mrss/\">\n<channel>\n"
                       "<title>Quovana reports</title>\n<link>https://meeting.quovana.example/reports</link>\n"
                       "<description>Reports of the meeting</description>\n";
    for (int i = 0; i < 5; ++i) {
        std::string path = "/files/reports/" + eventId + "/report-" + std::to_string(i + 1) + ".pdf";
        std::string title = std::string(kTopics[(i * 3) % 20]) + " report";
        data.files[path] = {"application/pdf", pdfFile(title)};
        feed += "<item>\n<title>" + title + "</title>\n<description>The " + title +
                " of the meeting.</description>\n<media:content url=\"" + kRootPlaceholder + path +
                "\" type=\"application/pdf\" isDefault=\"true\"/>\n</item>\n";
    }
    feed += "</channel>\n</rss>\n";
    data.files["/feeds/" + eventId + "/reports.rss"] = {"application/rss+xml", feed};

    // The demo account.
    const Person& demo = people[0];
    data.accounts.push_back({kDemoUsername, kDemoPassword, kDemoPasscode, demoTokenForSeed(options.seed),
                             Value::dictionary({{"id", demo.id},
                                                {"email", demo.email},
                                                {"firstName", demo.first},
                                                {"lastName", demo.last},
                                                {"fullName", demo.full},
                                                {"photoId", ""}})});
    for (auto& [kind, items] : data.lists)
        for (auto& item : items) item = withoutAbsentValues(item);
    data.privacySettings = Value::dictionary({{"primaryEmailVisible", true},
                                              {"phoneVisible", false},
                                              {"mobilePhoneVisible", false},
                                              {"nationalityVisible", true}});
    return data;
}

namespace {

// Plain decimal digits within [min, max]; at most six digits, so that any
// number read fits before it is bounded.
std::optional<int> generatedSizeWithin(const std::string& text, int min, int max) {
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int value = std::stoi(text);
    if (value < min || value > max) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::pair<int, int>> parseGeneratedSizes(const std::string& text) {
    const size_t comma = text.find(',');
    if (comma == std::string::npos) return std::nullopt;
    auto sessions = generatedSizeWithin(text.substr(0, comma), 1, kMaxGeneratedSessions);
    auto participants = generatedSizeWithin(text.substr(comma + 1), kMinGeneratedParticipants, kMaxGeneratedParticipants);
    if (!sessions || !participants) return std::nullopt;
    return std::make_pair(*sessions, *participants);
}

std::string generatedSizesRule() {
    return "SESSIONS,PARTICIPANTS in decimal digits: 1 to " + std::to_string(kMaxGeneratedSessions) +
           " sessions and " + std::to_string(kMinGeneratedParticipants) + " to " +
           std::to_string(kMaxGeneratedParticipants) + " participants, e.g. 300,1500";
}

}  // namespace testservice
