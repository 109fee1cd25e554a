// The connection parameters document that the library takes for a new
// connection and as the defaults: a compression and an automatic
// reconnection, each of which may be left unset.
#ifndef WNCTL_FRONTEND_LIBRARY_CONNECTION_PARAMETERS_DOCUMENT_H_
#define WNCTL_FRONTEND_LIBRARY_CONNECTION_PARAMETERS_DOCUMENT_H_

#include <stdint.h>

#include <string>

#include <json/value.h>

// The reconnect choice: -1 when neither reconnect option was given.
const int32_t kReconnectUnset = -1;
const int32_t kReconnectOff = 0;
const int32_t kReconnectOn = 1;

// "compress" unless the compression is empty, "reconnect" as the string
// "true" or "false" unless unset; {} when neither.
Json::Value MakeConnectionParametersDocument(const std::string& compression, int32_t reconnect);

#endif  // WNCTL_FRONTEND_LIBRARY_CONNECTION_PARAMETERS_DOCUMENT_H_
