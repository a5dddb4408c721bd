#include "core/catalogue.h"
