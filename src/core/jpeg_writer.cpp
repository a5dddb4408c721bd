#include "core/jpeg_writer.h"
