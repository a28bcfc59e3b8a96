// Answers the message boxes that an action shows on this thread, and says what they were.
#ifndef QUILLMERE_MESSAGE_BOX_WATCHER_H
#define QUILLMERE_MESSAGE_BOX_WATCHER_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

enum class BoxIcon { None, Warning, Error, Information, Question, Other };

struct SeenMessageBox {
    std::string text;
    std::string caption;
    HWND owner = nullptr;
    BoxIcon icon = BoxIcon::None;
    std::string ownerLogText;  // the owner's IDC_STATUS_LOG while the box was up
    bool forced = false;       // OK did not close it; it was ended by force
};

// Runs action. Every box it shows is read and answered with OK as soon as its modal loop
// runs; a box that OK does not close is ended after a bound, so the action always returns.
std::vector<SeenMessageBox> AnswerMessageBoxes(const std::function<void()>& action);

#endif
