// The status log's sink on a Windows edit control.
#ifndef QUILLMERE_EDIT_LOG_SINK_H
#define QUILLMERE_EDIT_LOG_SINK_H

#include "status_log.h"

#include <windows.h>

// Appends through WM_GETTEXTLENGTH, EM_SETSEL and EM_REPLACESEL (not undoable) on the edit,
// whose text limit it lifts.
LogSink EditControlLogSink(HWND edit);

#endif
