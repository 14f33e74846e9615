#include "monthlycomputation.h"
