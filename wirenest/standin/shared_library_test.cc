// The built shared library, loaded as a program would load it.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include "tests/support/test_files.h"
#include "wirenest/standin/variant_text.h"

namespace standin {
namespace {

const char* const kExports[] = {"WN_SetEventCallback",
                                "WN_EnableEventsQueue",
                                "WN_GetEvents",
                                "WN_IsOK",
                                "WN_GetStatus",
                                "WN_GetEmail",
                                "WN_GetLibVersion",
                                "WN_GetComputerInfo",
                                "WN_GetComputersList",
                                "WN_GetDevicesList",
                                "WN_GetDeviceInfo",
                                "WN_GetInviteInfo",
                                "WN_GetDefaultConnectParameters",
                                "WN_SetDefaultConnectParameters",
                                "WN_GetProxySettings",
                                "WN_LoginComputerAsync",
                                "WN_LogoutComputerAsync",
                                "WN_SetComputerNameAsync",
                                "WN_SetDeviceDescriptionAsync",
                                "WN_LockDeviceAsync",
                                "WN_ConnectDeviceAsync",
                                "WN_DisconnectDeviceAsync",
                                "WN_ChangeExistingConnectionParametersAsync",
                                "WN_ForgetConnectionAsync",
                                "WN_SetComportNameAsync",
                                "WN_SetProxySettingsAsync",
                                "WN_MakeInviteAsync",
                                "WN_AcceptInviteAsync",
                                "WN_DeleteInviteAsync"};

class Library {
 public:
  Library() : handle_(dlopen(WIRENEST_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL)) {}
  ~Library() {
    if (handle_)
      dlclose(handle_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  bool loaded() const { return handle_ != nullptr; }
  void* Find(const char* name) const { return dlsym(handle_, name); }

 private:
  void* handle_;
};

TEST(SharedLibraryTest, ExportsTheInterfaceAndHidesTheRest) {
  Library library;
  ASSERT_TRUE(library.loaded()) << dlerror();
  for (const char* name : kExports)
    EXPECT_NE(nullptr, library.Find(name)) << name;
  for (const char* hidden : {"SysAllocString", "_ZN7standin11CompactJsonERKN4Json5ValueE",
                             "_ZN7standin15ResetForTestingEv"})
    EXPECT_EQ(nullptr, library.Find(hidden)) << hidden;
}

TEST(SharedLibraryTest, AnswersAndUnloadsWhileADeliveryWaits) {
  TempDir dir;
  ScopedEnvironment environment;
  WriteFile(dir.File("scenario.json"), R"({"answers": {"version": [1, "7.1"],
      "requests": {"WN_AcceptInviteAsync": {"delay_ms": 60000}}}})");
  environment.Set("WIRENEST_SCENARIO", dir.File("scenario.json"));
  environment.Unset("WIRENEST_STATE");
  environment.Unset("WIRENEST_CALL_LOG");
  Library library;
  ASSERT_TRUE(library.loaded()) << dlerror();
  auto get_version = reinterpret_cast<int32_t (*)(VARIANT*)>(library.Find("WN_GetLibVersion"));
  auto set_callback =
      reinterpret_cast<int32_t (*)(void (*)(void))>(library.Find("WN_SetEventCallback"));
  auto enable_queue = reinterpret_cast<int32_t (*)(int32_t)>(library.Find("WN_EnableEventsQueue"));
  auto accept =
      reinterpret_cast<uint32_t (*)(VARIANT, int32_t)>(library.Find("WN_AcceptInviteAsync"));
  ASSERT_TRUE(get_version && set_callback && enable_queue && accept);

  ScopedVariant version;
  EXPECT_EQ(1, get_version(version.get()));
  EXPECT_EQ("7.1", VariantText(*version.get()));
  EXPECT_EQ(1, set_callback([] {}));
  EXPECT_EQ(1, enable_queue(1));
  ScopedVariant invite;
  ASSERT_TRUE(SetVariantText(invite.get(), "inv-1"));
  EXPECT_NE(0u, accept(*invite.get(), -1));
}

}  // namespace
}  // namespace standin
