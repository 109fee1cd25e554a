#ifndef WIRENEST_STANDIN_DEMO_WORLD_H_
#define WIRENEST_STANDIN_DEMO_WORLD_H_

#include "wirenest/standin/world.h"

namespace standin {

// The world a user meets without a scenario: logged in as user@example.com
// (password "secret"), with every kind of device, connection and invite.
World DemoWorld();
const char* DemoWorldJson();

}  // namespace standin

#endif  // WIRENEST_STANDIN_DEMO_WORLD_H_
