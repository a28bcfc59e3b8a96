// The status log's line rules and the process-wide log.
#include "status_log.h"
