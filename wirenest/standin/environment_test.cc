#include "wirenest/standin/environment.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/test_files.h"
#include "wirenest/standin/demo_world.h"
#include "wirenest/standin/library.h"
#include "wirenest/standin/state_file.h"
#include "wirenest/standin/variant_text.h"
#include "wirenestdk.h"

namespace standin {
namespace {

// Letters that no ANSI code page holds together, one beyond the BMP among
// them, and "Ł", which a Western one replaces by its nearest, "L".
const char kFolder[] = "\xC5\x81ukasz \xD0\x94\xD0\xB0\xD1\x88\xD0\xB0";       // Łukasz Даша
const char kFile[] = "\xC3\xA9tat-\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x94\x8C";  // état-日本 🔌

#ifdef _WIN32
const char kSeparator[] = "\\";
#else
const char kSeparator[] = "/";
#endif

bool Exists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(std::filesystem::u8path(path), ignored);
}

TEST(EnvironmentTest, GivesTheValueAsSetAndNothingWhenUnset) {
  const char kName[] = "WIRENEST_TEST_VARIABLE";
  ScopedEnvironment environment;
  for (const std::string& value :
       {std::string(kFolder) + kSeparator + kFile, std::string(1000, 'x') + kFile}) {
    environment.Set(kName, value);
    EXPECT_EQ(value, Environment(kName));
  }
  environment.Unset(kName);
  EXPECT_EQ("", Environment(kName));
}

// A profile folder named in such letters holds the state, in that very
// folder.
TEST(EnvironmentTest, TheDefaultStateGoesUnderAFolderOfAnyLetters) {
  TempDir dir;
  ScopedEnvironment environment;
#ifdef _WIN32
  const std::string place = dir.path() + "\\" + kFolder + "\\AppData\\Local";
  environment.Set("LOCALAPPDATA", place);
#else
  const std::string place = dir.File(kFolder) + "/state";
  environment.Set("XDG_STATE_HOME", place);
#endif
  const std::string state = place + kSeparator + "wirenest" + kSeparator + "standin-world.json";
  ASSERT_EQ(state, DefaultStatePath());
  World world;
  std::string error;
  ASSERT_TRUE(ChangeState(
      state, DemoWorld(),
      [](World* changed) {
        changed->local->comp_name = kFile;
        return true;
      },
      std::chrono::milliseconds(1000), &world, &error))
      << error;
  EXPECT_TRUE(Exists(state));
  World loaded;
  ASSERT_EQ(StateLoad::kLoaded, LoadState(state, &loaded, &error)) << error;
  EXPECT_EQ(kFile, loaded.local->comp_name);
}

// The library's scenario, state file and call log, named so, are the files
// it uses; a file it cannot use is named in its line on standard error.
class EnvironmentLibraryTest : public testing::Test {
 protected:
  EnvironmentLibraryTest() : folder_(dir_.path() + kSeparator + kFolder + kSeparator) {
    ResetForTesting();
    MakeDirectory(dir_.path() + kSeparator + kFolder);
    environment_.Set("WIRENEST_SCENARIO", folder_ + kFile + ".scenario");
    environment_.Set("WIRENEST_STATE", folder_ + kFile + ".state");
    environment_.Set("WIRENEST_CALL_LOG", folder_ + kFile + ".log");
  }
  ~EnvironmentLibraryTest() override { ResetForTesting(); }

  TempDir dir_;
  ScopedEnvironment environment_;
  const std::string folder_;
};

TEST_F(EnvironmentLibraryTest, UsesTheFilesItsVariablesName) {
  WriteFile(folder_ + kFile + ".scenario", R"({"answers": {"version": [1, "from the scenario"]}})");
  ScopedVariant version, params;
  EXPECT_EQ(1, WN_GetLibVersion(version.get()));
  EXPECT_EQ("from the scenario", VariantText(*version.get()));
  ASSERT_TRUE(SetVariantText(params.get(), "{\"compress\":\"zlib\"}"));
  EXPECT_EQ(1, WN_SetDefaultConnectParameters(*params.get()));

  EXPECT_EQ(
      (std::vector<std::string>{R"(["WN_GetLibVersion"])",
                                R"(["WN_SetDefaultConnectParameters","{\"compress\":\"zlib\"}"])"}),
      ReadLines(folder_ + kFile + ".log"));
  EXPECT_NE(std::string::npos, ReadFile(folder_ + kFile + ".state").find("\"zlib\""));
}

TEST_F(EnvironmentLibraryTest, ALineOnStandardErrorNamesTheFileItCannotUse) {
  const std::string state = folder_ + kFile + ".state";
  WriteFile(folder_ + kFile + ".scenario", "{}");
  MakeDirectory(state);
  testing::internal::CaptureStderr();
  ScopedVariant version;
  EXPECT_EQ(0, WN_GetLibVersion(version.get()));
  EXPECT_EQ("wirenest stand-in: " + state + ": is not a regular file\n",
            testing::internal::GetCapturedStderr());
}

}  // namespace
}  // namespace standin
