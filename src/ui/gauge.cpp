#include "ui/gauge.h"
