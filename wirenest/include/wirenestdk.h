/* Public interface of the device-sharing library (libwirenestdk64.so and
 * libwirenestdk32.so). Values cross the boundary as VARIANTs: inputs by value
 * (the library neither keeps nor frees them), results through VARIANT*
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

typedef uint32_t WN_CommandId;
typedef void (*WN_EventCallback)(void);

int32_t WN_SetEventCallback(WN_EventCallback callback);
int32_t WN_EnableEventsQueue(int32_t enable);
int32_t WN_GetEvents(int32_t reserved, VARIANT* batch);

int32_t WN_IsOK(void);
int32_t WN_GetStatus(VARIANT* status);
int32_t WN_GetEmail(VARIANT* email);
int32_t WN_GetLibVersion(VARIANT* version);
int32_t WN_GetComputerInfo(VARIANT id_comp, VARIANT* info);
int32_t WN_GetComputersList(VARIANT filter, VARIANT* list);
int32_t WN_GetDevicesList(VARIANT id_comp, VARIANT* list);
int32_t WN_GetDeviceInfo(VARIANT id_comp, VARIANT id_device, VARIANT* info);
int32_t WN_GetInviteInfo(VARIANT id_invite, VARIANT* info);
int32_t WN_GetDefaultConnectParameters(VARIANT* params);
int32_t WN_SetDefaultConnectParameters(VARIANT params);
int32_t WN_GetProxySettings(VARIANT* settings, int32_t reserved);

WN_CommandId WN_LoginComputerAsync(VARIANT email, VARIANT password, int32_t reserved);
WN_CommandId WN_LogoutComputerAsync(VARIANT id_comp, int32_t reserved);
WN_CommandId WN_SetComputerNameAsync(VARIANT id_comp, VARIANT name, int32_t reserved);
WN_CommandId WN_SetDeviceDescriptionAsync(VARIANT id_comp, VARIANT id_device, VARIANT description,
                                          int32_t reserved);
WN_CommandId WN_LockDeviceAsync(VARIANT id_comp, VARIANT id_device, int32_t lock, int32_t reserved);
WN_CommandId WN_ConnectDeviceAsync(VARIANT id_comp, VARIANT id_device, VARIANT params,
                                   int32_t reserved);
WN_CommandId WN_DisconnectDeviceAsync(VARIANT id_comp, VARIANT id_device, int32_t reserved);
WN_CommandId WN_ChangeExistingConnectionParametersAsync(VARIANT id_comp, VARIANT id_device,
                                                        VARIANT params, int32_t reserved);
WN_CommandId WN_ForgetConnectionAsync(VARIANT id_comp, VARIANT id_device, int32_t reserved);
WN_CommandId WN_SetComportNameAsync(VARIANT id_comp, VARIANT id_device, VARIANT name,
                                    int32_t reserved);
WN_CommandId WN_SetProxySettingsAsync(VARIANT settings, int32_t reserved);
WN_CommandId WN_MakeInviteAsync(VARIANT id_comp, VARIANT id_device, VARIANT email,
                                int32_t reserved);
WN_CommandId WN_AcceptInviteAsync(VARIANT id_invite, int32_t reserved);
WN_CommandId WN_DeleteInviteAsync(VARIANT id_invite, int32_t reserved);

#ifdef __cplusplus
}
#endif

#endif /* WIRENESTDK_H_ */
