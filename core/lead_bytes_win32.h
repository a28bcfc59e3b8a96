// Filling the lead byte table from the system's ANSI code page.
#ifndef QUILLMERE_LEAD_BYTES_WIN32_H
#define QUILLMERE_LEAD_BYTES_WIN32_H

// Sets the table of lead_bytes.h from IsDBCSLeadByte. Called once by each module that holds the
// table, at its start.
void LoadAnsiLeadBytes();

#endif
