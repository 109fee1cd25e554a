#ifndef WNCTL_PLATFORM_SLEEP_H_
#define WNCTL_PLATFORM_SLEEP_H_

#include <stdint.h>

void SleepMilliseconds(uint32_t milliseconds);

#endif  // WNCTL_PLATFORM_SLEEP_H_
