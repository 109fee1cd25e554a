// The library's status document: the state of the local service, of its link
// to the central server and of this computer's virtual drivers.
#ifndef WNCTL_FRONTEND_LIBRARY_STATUS_DOCUMENT_H_
#define WNCTL_FRONTEND_LIBRARY_STATUS_DOCUMENT_H_

#include <json/value.h>

#include "frontend/library/library_document.h"

// The document as it is now.
DocumentReading ReadStatusDocument(Json::Value* document);

// ReadStatusDocument for a caller that stops when it fails: false after the
// failure's line.
bool ReadStatusOrPrintError(Json::Value* document);

// True when both virtual drivers of this computer are in order. Silent.
bool CheckDrivers();

#endif  // WNCTL_FRONTEND_LIBRARY_STATUS_DOCUMENT_H_
