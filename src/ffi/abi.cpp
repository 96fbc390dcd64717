#include "ferrolune.h"

extern "C" int32_t ferrolune_abi_version(void) { return 1; }
