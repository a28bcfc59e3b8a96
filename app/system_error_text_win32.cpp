// Message texts from the system's message table.
#include "status_log.h"
