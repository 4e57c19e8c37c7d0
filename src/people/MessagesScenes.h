// The scenes of the messages tab in a device storyboard: the thread list
// (its table and Compose button), the thread screen (subject, people, table
// and Reply button), the outbox list, the outbox message, and the composer
// both open: pushed on the phone, modal inside its navigation controller on
// the pad. The tab bar makes the container itself.
#pragma once

namespace uikit {
class UIStoryboard;
}

namespace MessagesScenes {

// Adds (or replaces) the scenes and adds their segues once.
void addScenes(uikit::UIStoryboard& storyboard, bool pad);

}  // namespace MessagesScenes
