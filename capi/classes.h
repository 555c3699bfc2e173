/* The helper classes' C interface lives with the other public headers
 * (include/ub04/). */
#pragma once
#include "ub04/classes.h"
