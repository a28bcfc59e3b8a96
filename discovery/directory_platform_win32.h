// The directory record over the real NETAPI32 and DNSAPI calls.
#ifndef QUILLMERE_DIRECTORY_PLATFORM_WIN32_H
#define QUILLMERE_DIRECTORY_PLATFORM_WIN32_H

#include "directory_platform.h"

// The first call finds the system's functions, and ends the program with a message when NETAPI32,
// DNSAPI or one of their functions is missing from the system folder.
DirectoryPlatform WindowsDirectoryPlatform();

#endif
