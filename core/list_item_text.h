// Reading a list view item's text.
#ifndef QUILLMERE_LIST_ITEM_TEXT_H
#define QUILLMERE_LIST_ITEM_TEXT_H

#include <windows.h>

#include <string>

// Up to 259 characters of the item's text; empty when the item cannot be read.
std::string ReadItemText(HWND list, int index);

#endif
