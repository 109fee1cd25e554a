#ifndef WIRENEST_STANDIN_DRAIN_H_
#define WIRENEST_STANDIN_DRAIN_H_

#include <string>
#include <vector>

namespace standin {

// The batches of events that one call of the callback hands out, each the
// text of a JSON array of events.
using Drain = std::vector<std::string>;

}  // namespace standin

#endif  // WIRENEST_STANDIN_DRAIN_H_
