// Reading a JSON document that one of the library's getters fills in.
#ifndef WNCTL_FRONTEND_LIBRARY_LIBRARY_DOCUMENT_H_
#define WNCTL_FRONTEND_LIBRARY_LIBRARY_DOCUMENT_H_

#include <stdint.h>

#include <functional>
#include <string>

#include <json/value.h>

#include "platform/variant.h"

enum class DocumentReading {
  Read,        // `document` holds an object, or null (an object without members)
  Refused,     // the getter returned 0
  Unparsable,  // not JSON, or JSON without members to read
};

// Fills an empty value through `getter` and reads it; the caller prints its
// own line for a failure. `document` is set only when read.
typedef std::function<int32_t(VARIANT* value)> DocumentGetter;
DocumentReading ReadLibraryDocument(const DocumentGetter& getter, Json::Value* document);

// For a caller that stops when the reading fails: true when read, otherwise
// false after the caller's line for the failure.
bool ReadLibraryDocumentOrPrint(const DocumentGetter& getter, const std::string& refused_line,
                                const std::string& unparsable_line, Json::Value* document);

#endif  // WNCTL_FRONTEND_LIBRARY_LIBRARY_DOCUMENT_H_
