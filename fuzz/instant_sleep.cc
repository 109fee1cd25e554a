// The fuzz targets' clock does not run: the status polls of a gate follow
// one another at once.
#include "platform/sleep.h"

void SleepMilliseconds(uint32_t /*milliseconds*/) {}
