// Appending log lines at the end of an edit control.
#include "edit_log_sink.h"

namespace {

HWND Edit(void* control)
{
    return static_cast<HWND>(control);
}

std::size_t TextLength(void* control)
{
    return static_cast<std::size_t>(SendMessageA(Edit(control), WM_GETTEXTLENGTH, 0, 0));
}

void SetSelection(void* control, std::size_t start, std::size_t end)
{
    SendMessageA(Edit(control), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void ReplaceSelection(void* control, const std::string& text)
{
    SendMessageA(Edit(control), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace

LogSink EditControlLogSink(HWND edit)
{
    // An edit takes about 32,000 characters by default and cuts off what is appended beyond:
    // the warnings of a few hundred failing domains would push out "Found N realms.".
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    return LogSink{edit, &TextLength, &SetSelection, &ReplaceSelection};
}
