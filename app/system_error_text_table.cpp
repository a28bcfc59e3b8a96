// Message texts for the platform codes discovery meets, where there is no system message table.
#include "status_log.h"
