#include "picturevalidator.h"
