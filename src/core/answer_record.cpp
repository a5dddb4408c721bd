#include "core/answer_record.h"
