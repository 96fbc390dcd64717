/* Compiled as C: the public header must be plain C. */
#include "ferrolune.h"

#include <stddef.h>

int ferrolune_c_header_smoke(void) {
  ferrolune_result *result = NULL;
  uint64_t required = 0;
  if (ferrolune_abi_version() != 1) return 0;
  if (ferrolune_result_free(&result) != FERROLUNE_OK) return 0;
  return ferrolune_last_error(NULL, 0, &required) == FERROLUNE_BUFFER_TOO_SMALL && required == 1;
}
