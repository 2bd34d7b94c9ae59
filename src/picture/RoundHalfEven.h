#pragma once
// The rounding rule lives with the import, the lowest layer that rounds; this name stays for the
// window's files that include it from here.
#include "import/RoundHalfEven.h"
