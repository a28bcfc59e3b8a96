// Code page 932's lead bytes, set for one test's time, for the byte-wise name rules.
#ifndef QUILLMERE_CODE_PAGE_932_H
#define QUILLMERE_CODE_PAGE_932_H

#include "lead_bytes.h"

// Shift JIS: 81-9F and E0-FC begin double-byte characters. Afterwards none does, as in 1252.
struct CodePage932 {
    CodePage932()
    {
        LeadByteTable table{};
        for (std::size_t value = 0x81; value <= 0xFC; ++value)
            table[value] = value <= 0x9F || value >= 0xE0;
        SetLeadBytes(table);
    }
    ~CodePage932() { SetLeadBytes(LeadByteTable{}); }
};

#endif
