#include "core/safe_file.h"
