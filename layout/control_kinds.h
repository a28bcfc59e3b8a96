// Which dialog children keep their size, and which need a redraw after a move.
#ifndef QUILLMERE_CONTROL_KINDS_H
#define QUILLMERE_CONTROL_KINDS_H

#include <cstdint>

// Push, default push, user and owner-drawn buttons keep their size; group boxes,
// check boxes, radio buttons and every other class stretch.
bool IsFixedSizeControl(const char* className, std::uint32_t style);

// Static controls are redrawn after each move.
bool IsStaticControl(const char* className);

#endif
