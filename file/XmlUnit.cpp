#include "XmlUnit.h"
