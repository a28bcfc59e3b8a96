// The directory record over the real NETAPI32 and DNSAPI calls.
#ifndef QUILLMERE_DIRECTORY_PLATFORM_WIN32_H
#define QUILLMERE_DIRECTORY_PLATFORM_WIN32_H

#include "directory_platform.h"

DirectoryPlatform WindowsDirectoryPlatform();

#endif
