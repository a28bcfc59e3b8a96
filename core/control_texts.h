// The texts the main window's controls hold: the sizes and the mark prefix that the panel, the
// chooser, the discovery and the generation all rely on, defined once.
#ifndef QUILLMERE_CONTROL_TEXTS_H
#define QUILLMERE_CONTROL_TEXTS_H

#include <cstddef>

// Precedes every realm name in the Selected list. Position 0 holds 'd' for the default realm,
// 1 's' for a realm with servers, 2 'c' for a realm with clients, '-' where a mark is not set;
// position 3 is always a blank.
constexpr char kFlagPrefix[] = "--- ";
constexpr std::size_t kFlagPrefixLength = sizeof kFlagPrefix - 1;

// The longest name DNS carries: a longer domain name is refused, and a Selected item holds at
// most this much of a realm name.
constexpr std::size_t kMaxRealmNameLength = 255;

// List item texts are read into buffers of this many characters, the NUL included: room for a
// mark prefix and the longest realm name.
constexpr std::size_t kItemTextBufferSize = 260;
static_assert(kFlagPrefixLength + kMaxRealmNameLength < kItemTextBufferSize, "a whole Selected item fits");

// Room for 199 characters and the NUL: the size of the enctype edits' text.
constexpr std::size_t kEncTypeTextCapacity = 200;

#endif
