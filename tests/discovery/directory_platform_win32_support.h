// The simulated directory's call log as the tests of the Windows directory record read it.
#ifndef QUILLMERE_DIRECTORY_PLATFORM_WIN32_SUPPORT_H
#define QUILLMERE_DIRECTORY_PLATFORM_WIN32_SUPPORT_H

#include "call_log.h"
#include "module_folders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Empties the log named by QUILLMERE_SIMDIR_LOG; the DLLs append to it from then on.
void ClearCalls();
// Every call logged since the last ClearCalls. Fails the current test when the log can't be read.
std::vector<CallLogEntry> ReadCalls();
// The calls of one function, in call order.
std::vector<CallLogEntry> CallsOf(const std::vector<CallLogEntry>& calls, const std::string& function);
// Every buffer a call returned was released by its own free call, and no free went astray.
::testing::AssertionResult EveryBufferReleased(const std::vector<CallLogEntry>& calls);
// The folder of a module loaded in this process, in lower case, or "" when it is not loaded.
std::string LoadedModuleFolder(const char* module);

#endif
