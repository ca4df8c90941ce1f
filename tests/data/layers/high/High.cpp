#include "high/High.h"
#include "high/HighVersion.h"
