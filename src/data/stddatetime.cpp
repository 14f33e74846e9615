#include "stddatetime.h"
