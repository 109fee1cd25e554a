#include "frontend/app/globals.h"

std::mutex& g_commandResultLock = *new std::mutex;
ManualResetEvent& g_commandResultEvent = *new ManualResetEvent;
Json::Value& g_lastCommandResult = *new Json::Value;
