// The system's own words for a platform error code, which warnings and messages quote.
#ifndef QUILLMERE_SYSTEM_ERROR_TEXT_H
#define QUILLMERE_SYSTEM_ERROR_TEXT_H

#include <cstdint>
#include <string>

// The system's message text for a platform error code (a line end included when the
// system gives one), or "Unknown error.".
std::string SystemErrorText(std::uint32_t code);

#endif
