#include "eventcodes.h"
