// The library's status document: the state of the local service, of its link
// to the central server and of this computer's virtual drivers.
#ifndef WNCTL_FRONTEND_LIBRARY_STATUS_DOCUMENT_H_
#define WNCTL_FRONTEND_LIBRARY_STATUS_DOCUMENT_H_

// True when both virtual drivers of this computer are in order. Silent.
bool CheckDrivers();

#endif  // WNCTL_FRONTEND_LIBRARY_STATUS_DOCUMENT_H_
