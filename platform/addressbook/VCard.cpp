#include "addressbook/VCard.h"

#include <algorithm>
#include <cctype>

namespace addressbook::VCard {

namespace {

constexpr size_t kVCardFoldWidth = 75;

std::string vcardEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == ',' || c == ';') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c != '\r') {
            out += c;
        }
    }
    return out;
}

std::string vcardUnescaped(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += (next == 'n' || next == 'N') ? '\n' : next;
    }
    return out;
}

// Splits on `separator` outside escapes, the parts still escaped.
std::vector<std::string> vcardSplit(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            parts.back() += text[i];
            parts.back() += text[++i];
        } else if (text[i] == separator) {
            parts.emplace_back();
        } else {
            parts.back() += text[i];
        }
    }
    return parts;
}

// Lines longer than the format allows continue on lines starting with a blank;
// a fold never splits a UTF-8 sequence.
void vcardAppendFolded(std::string& out, const std::string& line) {
    size_t start = 0;
    bool first = true;
    while (start < line.size() || first) {
        const size_t width = first ? kVCardFoldWidth : kVCardFoldWidth - 1;
        size_t end = std::min(line.size(), start + width);
        while (end < line.size() && end > start + 1 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) --end;
        if (!first) out += ' ';
        out.append(line, start, end - start);
        out += "\r\n";
        start = end;
        first = false;
    }
}

std::string vcardPhoneType(const std::string& label) {
    if (label == kABPersonPhoneMainLabel) return "PREF,VOICE";
    if (label == kABPersonPhoneMobileLabel) return "CELL";
    if (label == kABWorkLabel) return "WORK";
    return label.empty() ? "VOICE" : label;
}

std::string vcardUpper(std::string text) {
    for (auto& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string vcardLabelForTypes(const std::string& types, bool phone) {
    const std::string upper = vcardUpper(types);
    if (phone && upper.find("CELL") != std::string::npos) return kABPersonPhoneMobileLabel;
    if (upper.find("WORK") != std::string::npos) return kABWorkLabel;
    if (phone && upper.find("PREF") != std::string::npos) return kABPersonPhoneMainLabel;
    std::string first = types.substr(0, types.find(','));
    for (auto& c : first) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return first;
}

// A property's default type (VOICE for TEL, INTERNET for EMAIL) says nothing
// the label keeps: the writer adds it back, so the reader leaves it out before
// choosing the label, and an unlabelled value reads back unlabelled.
std::string vcardTypesWithout(const std::string& types, const std::string& defaultType) {
    std::string rest;
    for (const auto& type : vcardSplit(types, ','))
        if (vcardUpper(type) != defaultType) rest += (rest.empty() ? "" : ",") + type;
    return rest;
}

void vcardAddMulti(ABMultiValueRef& multi, std::string value, std::string label) {
    if (!multi) multi = ABMultiValueCreateMutable();
    ABMultiValueAddValueAndLabel(multi, std::move(value), std::move(label));
}

}  // namespace

std::string write(const std::vector<ABRecordRef>& people) {
    std::string out;
    for (const auto& person : people) {
        if (!person) continue;
        // The formatted name joins the parts as written: a part the format
        // cannot hold (a bare CR) is written empty, reads back absent, and
        // must not leave its blank behind in FN.
        const std::string first = vcardEscaped(person->firstName.value_or(""));
        const std::string last = vcardEscaped(person->lastName.value_or(""));
        std::string full = first;
        if (!first.empty() && !last.empty()) full += ' ';
        full += last;
        vcardAppendFolded(out, "BEGIN:VCARD");
        vcardAppendFolded(out, "VERSION:3.0");
        vcardAppendFolded(out, "N:" + last + ";" + first + ";;;");
        vcardAppendFolded(out, "FN:" + full);
        if (person->organization) vcardAppendFolded(out, "ORG:" + vcardEscaped(*person->organization));
        if (person->phones)
            for (const auto& [value, label] : person->phones->valuesAndLabels)
                vcardAppendFolded(out, "TEL;TYPE=" + vcardPhoneType(label) + ":" + vcardEscaped(value));
        if (person->emails)
            for (const auto& [value, label] : person->emails->valuesAndLabels)
                vcardAppendFolded(out, "EMAIL;TYPE=INTERNET" + (label.empty() ? std::string() : "," + vcardUpper(label)) +
                                           ":" + vcardEscaped(value));
        if (person->note) vcardAppendFolded(out, "NOTE:" + vcardEscaped(*person->note));
        vcardAppendFolded(out, "END:VCARD");
    }
    return out;
}

std::vector<ABRecordRef> read(const std::string& text) {
    // Unfolded logical lines.
    std::vector<std::string> lines;
    std::string current;
    size_t i = 0;
    while (i <= text.size()) {
        const size_t end = std::min(text.find('\n', i), text.size());
        std::string line = text.substr(i, end - i);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && (line[0] == ' ' || line[0] == '\t')) {
            current += line.substr(1);
        } else {
            if (!current.empty()) lines.push_back(current);
            current = line;
        }
        i = end + 1;
    }
    if (!current.empty()) lines.push_back(current);

    std::vector<ABRecordRef> people;
    ABRecordRef person;
    for (const auto& line : lines) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        const auto nameAndParams = vcardSplit(line.substr(0, colon), ';');
        const std::string name = vcardUpper(nameAndParams.front());
        const std::string value = line.substr(colon + 1);
        std::string types;
        for (size_t p = 1; p < nameAndParams.size(); ++p) {
            const std::string param = vcardUpper(nameAndParams[p]);
            const std::string raw = param.rfind("TYPE=", 0) == 0 ? nameAndParams[p].substr(5) : nameAndParams[p];
            if (!types.empty()) types += ',';
            types += raw;
        }
        if (name == "BEGIN" && vcardUpper(value) == "VCARD") {
            person = ABPersonCreate();
        } else if (name == "END" && vcardUpper(value) == "VCARD") {
            if (person) people.push_back(person);
            person.reset();
        } else if (!person) {
            continue;
        } else if (name == "N") {
            const auto parts = vcardSplit(value, ';');
            if (!parts[0].empty()) person->lastName = vcardUnescaped(parts[0]);
            if (parts.size() > 1 && !parts[1].empty()) person->firstName = vcardUnescaped(parts[1]);
        } else if (name == "ORG") {
            person->organization = vcardUnescaped(vcardSplit(value, ';').front());
        } else if (name == "NOTE") {
            person->note = vcardUnescaped(value);
        } else if (name == "TEL") {
            vcardAddMulti(person->phones, vcardUnescaped(value),
                          vcardLabelForTypes(vcardTypesWithout(types, "VOICE"), true));
        } else if (name == "EMAIL") {
            vcardAddMulti(person->emails, vcardUnescaped(value),
                          vcardLabelForTypes(vcardTypesWithout(types, "INTERNET"), false));
        }
    }
    return people;
}

}  // namespace addressbook::VCard
