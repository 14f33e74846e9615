#include "shiftclassifier.h"
