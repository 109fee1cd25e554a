#include "platform/sleep.h"

#include <errno.h>
#include <time.h>

void SleepMilliseconds(uint32_t milliseconds) {
  timespec remaining;
  remaining.tv_sec = milliseconds / 1000;
  remaining.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
  while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
  }
}
