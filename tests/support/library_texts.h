// What the stand-in library hands out and writes in its call log, as more
// than one test expects it.
#ifndef WNCTL_TESTS_SUPPORT_LIBRARY_TEXTS_H_
#define WNCTL_TESTS_SUPPORT_LIBRARY_TEXTS_H_

#include <stdint.h>

#include <string>

#include <json/value.h>

// The "command_result" event that answers the request `id`; `error` "OK" is
// success.
Json::Value CommandResult(uint32_t id, const std::string& error = "OK");
// That event as the one element of a batch's text.
std::string CommandResultBatch(uint32_t id, const std::string& error = "OK");

// The status text of a service that waits for a login.
extern const char kLoginRequiredStatus[];

// Call-log lines, each with its line end.
extern const char kIsOkCall[];
extern const char kGetStatusCall[];
// The gate of a library that is not logged in: it reads the status.
extern const char kStatusGateCalls[];
extern const char kSetEventCallbackCall[];
// The registration of the event callback and the queue switched on.
extern const char kEventChannelCalls[];
std::string DevicesListCall(const std::string& computer);

#endif  // WNCTL_TESTS_SUPPORT_LIBRARY_TEXTS_H_
