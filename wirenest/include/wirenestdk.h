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

int32_t WN_CALL WN_SetEventCallback(WN_EventCallback callback);
int32_t WN_CALL WN_EnableEventsQueue(int32_t enable);
int32_t WN_CALL WN_GetEvents(int32_t reserved, VARIANT* batch);

int32_t WN_CALL WN_IsOK(void);
int32_t WN_CALL WN_GetStatus(VARIANT* status);
int32_t WN_CALL WN_GetEmail(VARIANT* email);
int32_t WN_CALL WN_GetLibVersion(VARIANT* version);
int32_t WN_CALL WN_GetComputerInfo(VARIANT id_comp, VARIANT* info);
int32_t WN_CALL WN_GetComputersList(VARIANT filter, VARIANT* list);
int32_t WN_CALL WN_GetDevicesList(VARIANT id_comp, VARIANT* list);
int32_t WN_CALL WN_GetDeviceInfo(VARIANT id_comp, VARIANT id_device, VARIANT* info);
int32_t WN_CALL WN_GetInviteInfo(VARIANT id_invite, VARIANT* info);
int32_t WN_CALL WN_GetDefaultConnectParameters(VARIANT* params);
int32_t WN_CALL WN_SetDefaultConnectParameters(VARIANT params);
int32_t WN_CALL WN_GetProxySettings(VARIANT* settings, int32_t reserved);

WN_CommandId WN_CALL WN_LoginComputerAsync(VARIANT email, VARIANT password, int32_t reserved);
WN_CommandId WN_CALL WN_LogoutComputerAsync(VARIANT id_comp, int32_t reserved);
WN_CommandId WN_CALL WN_SetComputerNameAsync(VARIANT id_comp, VARIANT name, int32_t reserved);
WN_CommandId WN_CALL WN_SetDeviceDescriptionAsync(VARIANT id_comp, VARIANT id_device,
                                                  VARIANT description, int32_t reserved);
WN_CommandId WN_CALL WN_LockDeviceAsync(VARIANT id_comp, VARIANT id_device, int32_t lock,
                                        int32_t reserved);
WN_CommandId WN_CALL WN_ConnectDeviceAsync(VARIANT id_comp, VARIANT id_device, VARIANT params,
                                           int32_t reserved);
WN_CommandId WN_CALL WN_DisconnectDeviceAsync(VARIANT id_comp, VARIANT id_device, int32_t reserved);
WN_CommandId WN_CALL WN_ChangeExistingConnectionParametersAsync(VARIANT id_comp, VARIANT id_device,
                                                                VARIANT params, int32_t reserved);
WN_CommandId WN_CALL WN_ForgetConnectionAsync(VARIANT id_comp, VARIANT id_device, int32_t reserved);
WN_CommandId WN_CALL WN_SetComportNameAsync(VARIANT id_comp, VARIANT id_device, VARIANT name,
                                            int32_t reserved);
WN_CommandId WN_CALL WN_SetProxySettingsAsync(VARIANT settings, int32_t reserved);
WN_CommandId WN_CALL WN_MakeInviteAsync(VARIANT id_comp, VARIANT id_device, VARIANT email,
                                        int32_t reserved);
WN_CommandId WN_CALL WN_AcceptInviteAsync(VARIANT id_invite, int32_t reserved);
WN_CommandId WN_CALL WN_DeleteInviteAsync(VARIANT id_invite, int32_t reserved);

#ifdef __cplusplus
}
#endif

#endif /* WIRENESTDK_H_ */
