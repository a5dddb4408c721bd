#include "core/scoring.h"
