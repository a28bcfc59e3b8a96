// The delay-load hook of the program's system DLLs, and how it ends the program when one fails.
#ifndef QUILLMERE_DELAY_LOAD_HOOK_H
#define QUILLMERE_DELAY_LOAD_HOOK_H

#include <string>

// Says why the program cannot go on, then ends it; tests replace it to read the text.
struct DelayLoadRefusal {
    void (*refuse)(const std::string& text);
};

// Starts as the message box "Error" followed by the exit with code 1.
extern DelayLoadRefusal delayLoadRefusal;

#endif
