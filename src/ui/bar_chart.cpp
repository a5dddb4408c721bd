#include "ui/bar_chart.h"
