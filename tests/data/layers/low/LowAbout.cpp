#include "low/Low.h"
#include "high/HighVersion.h"
