// Standard output and error as a parent may hand them over: with the open
// file description set non-blocking, a write the reader cannot take at once
// fails and its text is lost.
#ifndef WNCTL_PLATFORM_BLOCKING_OUTPUT_H_
#define WNCTL_PLATFORM_BLOCKING_OUTPUT_H_

// Makes writes to `fd` wait until the reader takes them, as on an ordinary
// pipe. Nothing changes for a blocking descriptor.
void MakeOutputBlocking(int fd);

#endif  // WNCTL_PLATFORM_BLOCKING_OUTPUT_H_
