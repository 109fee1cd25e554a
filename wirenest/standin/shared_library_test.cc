// The built shared library, loaded as a program would load it.
#include "wirenestdk.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/support/loaded_library.h"
#include "tests/support/test_files.h"
#include "wirenest/standin/variant_text.h"

namespace standin {
namespace {

#define WN_NAME(result, name, parameters) #name,
const char* const kExports[] = {WN_FUNCTION_MAP(WN_NAME)};
#undef WN_NAME

// The built library, loaded from where a program finds it.
class Library : public LoadedLibrary {
 public:
#ifdef _WIN32
  Library() : LoadedLibrary(BesideThisProgram(WNCTL_LIBRARY_FILE_NAME)) {}
#else
  Library() : LoadedLibrary(WIRENEST_LIBRARY_PATH) {}
#endif
};

void WN_CALL IgnoreEvents() {}

TEST(SharedLibraryTest, ExportsTheInterfaceAndHidesTheRest) {
  Library library;
  ASSERT_TRUE(library.loaded()) << library.error();
  for (const char* name : kExports)
    EXPECT_NE(nullptr, library.Find(name)) << name;
  // Nor under the names the 32-bit Windows calling convention decorates.
  for (const char* hidden : {"SysAllocString", "_ZN7standin11CompactJsonERKN4Json5ValueE",
                             "_ZN7standin15ResetForTestingEv", "WN_GetEvents@8", "_WN_IsOK@0"})
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
  ASSERT_TRUE(library.loaded()) << library.error();
  auto get_version = library.Find("WN_GetLibVersion", WN_GetLibVersion);
  auto set_callback = library.Find("WN_SetEventCallback", WN_SetEventCallback);
  auto enable_queue = library.Find("WN_EnableEventsQueue", WN_EnableEventsQueue);
  auto accept = library.Find("WN_AcceptInviteAsync", WN_AcceptInviteAsync);
  ASSERT_TRUE(get_version && set_callback && enable_queue && accept);

  ScopedVariant version;
  EXPECT_EQ(1, get_version(version.get()));
  EXPECT_EQ("7.1", VariantText(*version.get()));
  EXPECT_EQ(1, set_callback(IgnoreEvents));
  EXPECT_EQ(1, enable_queue(1));
  ScopedVariant invite;
  ASSERT_TRUE(SetVariantText(invite.get(), "inv-1"));
  EXPECT_NE(0u, accept(*invite.get(), -1));
}

}  // namespace
}  // namespace standin
