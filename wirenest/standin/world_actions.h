// The effects of the library's requests on the world. Each gives the "error"
// of the request's answer: "OK" when it was carried out, else a code such as
// "device_not_found", and then the world is unchanged.
#ifndef WIRENEST_STANDIN_WORLD_ACTIONS_H_
#define WIRENEST_STANDIN_WORLD_ACTIONS_H_

#include <string>

#include "wirenest/standin/world.h"

namespace standin {

// A digest of an older form is replaced by the current one.
// "password_not_checked" when the key derivation could not be made.
std::string LoginComputer(World* world, const std::string& email, PasswordCheck* password);
std::string LogoutComputer(World* world, const std::string& id_comp);
std::string NameComputer(World* world, const std::string& id_comp, const std::string& name);
std::string SetDeviceDescription(World* world, const std::string& id_comp,
                                 const std::string& id_device, const std::string& description);
std::string LockDevice(World* world, const std::string& id_comp, const std::string& id_device,
                       bool lock);
// `params`: {"compress": "bestsize"/"bestspeed"/"no", "reconnect": "true"/"false"}.
std::string ConnectDevice(World* world, const std::string& id_comp, const std::string& id_device,
                          const std::string& params);
std::string DisconnectDevice(World* world, const std::string& id_comp,
                             const std::string& id_device);
std::string ChangeConnectionParameters(World* world, const std::string& id_comp,
                                       const std::string& id_device, const std::string& params);
// On the account's remote computers an offline device, or a device of an
// offline computer, goes with its connection.
std::string ForgetConnection(World* world, const std::string& id_comp,
                             const std::string& id_device);
std::string SetComportName(World* world, const std::string& id_comp, const std::string& id_device,
                           const std::string& name);
std::string SetProxySettings(World* world, const std::string& settings);
std::string MakeInvite(World* world, const std::string& id_comp, const std::string& id_device,
                       const std::string& email);
std::string AcceptInvite(World* world, const std::string& id_invite);
std::string DeleteInvite(World* world, const std::string& id_invite);
// Synchronous: false for a text that is not a JSON object. Each member the
// document names replaces the stored one, null or "" removes it; the others
// stay.
bool SetDefaultConnectParameters(World* world, const std::string& params);

}  // namespace standin

#endif  // WIRENEST_STANDIN_WORLD_ACTIONS_H_
