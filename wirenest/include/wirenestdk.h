/* Public interface of the device-sharing library (libwirenestdk64.so and
 * libwirenestdk32.so; wirenestdk64.dll and wirenestdk32.dll on Windows). Values cross the boundary
 * as VARIANTs: inputs by value (the library neither keeps nor frees them), results through VARIANT*
 * out-values that the caller initialises and clears. Queries answer at once;
 * the *Async requests return a command id (0: not started) and are answered
 * later by a "command_result" event, announced through the callback on the
 * library's own thread. */
#ifndef WIRENESTDK_H_
#define WIRENESTDK_H_

#include <stdint.h>

#include "platform/variant.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The calling convention of every function and of the callback: the one of
 * the Windows API on Windows, the system's own elsewhere. */
#ifdef _WIN32
#define WN_CALL __stdcall
#else
#define WN_CALL
#endif

typedef uint32_t WN_CommandId;
typedef void(WN_CALL* WN_EventCallback)(void);

/* The library's functions, each once, as XX(result, name, parameters): those
 * of the events, the queries, then the requests. They are declared from here,
 * and the build writes the Windows .def files from these lines, which
 * clang-format leaves alone: it would take their pointers for products. */
/* clang-format off */
#define WN_FUNCTION_MAP(XX)                                                                    \
  XX(int32_t, WN_SetEventCallback, (WN_EventCallback callback))                                \
  XX(int32_t, WN_EnableEventsQueue, (int32_t enable))                                          \
  XX(int32_t, WN_GetEvents, (int32_t reserved, VARIANT* batch))                               \
  XX(int32_t, WN_IsOK, (void))                                                                 \
  XX(int32_t, WN_GetStatus, (VARIANT* status))                                                \
  XX(int32_t, WN_GetEmail, (VARIANT* email))                                                  \
  XX(int32_t, WN_GetLibVersion, (VARIANT* version))                                           \
  XX(int32_t, WN_GetComputerInfo, (VARIANT id_comp, VARIANT* info))                           \
  XX(int32_t, WN_GetComputersList, (VARIANT filter, VARIANT* list))                           \
  XX(int32_t, WN_GetDevicesList, (VARIANT id_comp, VARIANT* list))                            \
  XX(int32_t, WN_GetDeviceInfo, (VARIANT id_comp, VARIANT id_device, VARIANT* info))          \
  XX(int32_t, WN_GetInviteInfo, (VARIANT id_invite, VARIANT* info))                           \
  XX(int32_t, WN_GetDefaultConnectParameters, (VARIANT* params))                              \
  XX(int32_t, WN_SetDefaultConnectParameters, (VARIANT params))                                \
  XX(int32_t, WN_GetProxySettings, (VARIANT* settings, int32_t reserved))                     \
  XX(WN_CommandId, WN_LoginComputerAsync, (VARIANT email, VARIANT password, int32_t reserved)) \
  XX(WN_CommandId, WN_LogoutComputerAsync, (VARIANT id_comp, int32_t reserved))                \
  XX(WN_CommandId, WN_SetComputerNameAsync, (VARIANT id_comp, VARIANT name, int32_t reserved)) \
  XX(WN_CommandId, WN_SetDeviceDescriptionAsync,                                               \
     (VARIANT id_comp, VARIANT id_device, VARIANT description, int32_t reserved))              \
  XX(WN_CommandId, WN_LockDeviceAsync,                                                         \
     (VARIANT id_comp, VARIANT id_device, int32_t lock, int32_t reserved))                     \
  XX(WN_CommandId, WN_ConnectDeviceAsync,                                                      \
     (VARIANT id_comp, VARIANT id_device, VARIANT params, int32_t reserved))                   \
  XX(WN_CommandId, WN_DisconnectDeviceAsync,                                                   \
     (VARIANT id_comp, VARIANT id_device, int32_t reserved))                                   \
  XX(WN_CommandId, WN_ChangeExistingConnectionParametersAsync,                                 \
     (VARIANT id_comp, VARIANT id_device, VARIANT params, int32_t reserved))                   \
  XX(WN_CommandId, WN_ForgetConnectionAsync,                                                   \
     (VARIANT id_comp, VARIANT id_device, int32_t reserved))                                   \
  XX(WN_CommandId, WN_SetComportNameAsync,                                                     \
     (VARIANT id_comp, VARIANT id_device, VARIANT name, int32_t reserved))                     \
  XX(WN_CommandId, WN_SetProxySettingsAsync, (VARIANT settings, int32_t reserved))             \
  XX(WN_CommandId, WN_MakeInviteAsync,                                                         \
     (VARIANT id_comp, VARIANT id_device, VARIANT email, int32_t reserved))                    \
  XX(WN_CommandId, WN_AcceptInviteAsync, (VARIANT id_invite, int32_t reserved))                \
  XX(WN_CommandId, WN_DeleteInviteAsync, (VARIANT id_invite, int32_t reserved))
/* clang-format on */

#define WN_DECLARE(result, name, parameters) result WN_CALL name parameters;
WN_FUNCTION_MAP(WN_DECLARE)
#undef WN_DECLARE

#ifdef __cplusplus
}
#endif

#endif /* WIRENESTDK_H_ */
