// The configuration text as an edit control shows it: lines ended by CR LF.
#ifndef QUILLMERE_CRLF_LINES_H
#define QUILLMERE_CRLF_LINES_H

#include <string>

// Every LF-ended line of the text, each now ended by CR LF; characters after the last LF are
// dropped, as no line of the writer's ends without one.
std::string CrLfLines(const std::string& lfText);

#endif
