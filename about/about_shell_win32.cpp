// The about box's shell call: the system's ShellExecuteA.
#include "about_shell.h"

#include <shellapi.h>

AboutShell aboutShell{ShellExecuteA};
