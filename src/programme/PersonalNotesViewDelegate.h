// What the owner of a PersonalNotesView answers: the note after an edit
// that changed it.
#pragma once

#include <string>

class PersonalNotesViewDelegate {
public:
    virtual ~PersonalNotesViewDelegate() = default;
    virtual void endEditingNote(const std::string& note) = 0;
};
