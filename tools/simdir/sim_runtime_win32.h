// What both simulated DLLs share: the forest they answer from, the call log, the network delay.
#ifndef QUILLMERE_SIMDIR_SIM_RUNTIME_WIN32_H
#define QUILLMERE_SIMDIR_SIM_RUNTIME_WIN32_H

#include "forest_file.h"

#include <cstdint>
#include <optional>
#include <string>

// The forest named by QUILLMERE_SIMDIR, read at the first call, its names in the ANSI code page
// as the system's "A" functions give them. Null when it can't be read or parsed; then one message
// goes to standard error, once per process for both DLLs.
const Forest* SimForest();

// UTF-8 text as the "A" functions hand it out: WideCharToMultiByte(CP_ACP, 0, ...), best fit
// and all. Text that can't be converted becomes empty.
std::string SimAnsiText(const std::string& utf8);
// UTF-8 text as the "W" functions hand it out; empty when it can't be converted.
std::wstring SimWideText(const std::string& utf8);

// Appends one line to the file named by QUILLMERE_SIMDIR_LOG, when it is set.
void SimLog(const char* function, const std::string& argument, const std::string& status, const std::string& buffer);
std::string SimBufferField(const void* buffer);  // "0x..." as call_log.h describes
const char kSimNoBuffer[] = "-";
std::string SimNameField(const char* name);      // the name, or "(null)"

// Calls come from several threads at once, as on a real network: each DLL touches its table of
// buffers handed out, and writes the call log, only while one of these is alive. The waits are
// outside it, so they overlap. Each log line is one append, so the two DLLs' lines never mix.
struct SimExclusive {
    SimExclusive();
    ~SimExclusive();
    SimExclusive(const SimExclusive&) = delete;
    SimExclusive& operator=(const SimExclusive&) = delete;
};

// Waits that many milliseconds, the modelled network delay of one call.
void SimWait(std::uint32_t milliseconds);
// Waits the answer's own delay when it has one, and the kind's otherwise.
void SimWaitFor(const std::optional<std::uint32_t>& own, std::uint32_t kind);

// Zeroed memory from the process heap, as the system DLLs' buffers are.
void* SimAllocate(std::size_t size);
void SimRelease(void* block);

#endif
