// Filling the lead byte table from the system's ANSI code page.
#include "lead_bytes_win32.h"

#include "lead_bytes.h"

#include <windows.h>

void LoadAnsiLeadBytes()
{
    LeadByteTable table{};
    for (std::size_t value = 0; value < table.size(); ++value)
        table[value] = IsDBCSLeadByte(static_cast<BYTE>(value)) != FALSE;
    SetLeadBytes(table);
}
