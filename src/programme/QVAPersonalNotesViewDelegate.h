// What the owner of a personal-note cell (the session and participant
// details) answers: the note after an edit that changed it, and the text
// being typed whenever it needs another row height.
#pragma once

#include <string>

class QVAPersonalNotesViewDelegate {
public:
    virtual ~QVAPersonalNotesViewDelegate() = default;
    virtual void endEditingNote(const std::string& note) = 0;
    virtual void refreshNoteCellHeightWithText(const std::string& text) = 0;
};
