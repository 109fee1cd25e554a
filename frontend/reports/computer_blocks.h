// The computer blocks of the listings, which show-remote and show-invite
// share: the list of computers walked in order, the answer about each one and
// the end of its block.
#ifndef WNCTL_FRONTEND_REPORTS_COMPUTER_BLOCKS_H_
#define WNCTL_FRONTEND_REPORTS_COMPUTER_BLOCKS_H_

#include <functional>
#include <string>

#include <json/value.h>

// The gate, the list of computers that `filter_word` ("remote" or "other")
// asks for, narrowed by online/offline, and `show_computer` for each id in
// list order until one fails. `empty_message` stands for an empty list.
int ListComputers(const std::string& filter_word, const char* empty_message, bool online,
                  bool offline, const std::function<int(const std::string&)>& show_computer);

// The answer about one computer of the list, with its device count.
// False after the failure line.
bool GetComputerInfo(const std::string& computer_id, Json::Value* info, int* device_count);

// Ends a computer's block: its devices when asked for (and there are any),
// then an empty line, which also follows a failed device listing.
int FinishComputerBlock(bool devices, int device_count, const std::function<int()>& list_devices);

#endif  // WNCTL_FRONTEND_REPORTS_COMPUTER_BLOCKS_H_
