// The readings and the reports over any library answers: any text, JSON or
// not, any type in any member, any out-value type and any result. The first
// byte picks the report, the second its options; the rest are the answers.
#include <stdint.h>

#include <string>

#include "fuzz/command_run.h"
#include "fuzz/fake_library.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/input_script.h"

namespace {

struct Report {
  const char* command;
  const char* const* options;  // each taken when its bit is set
};

const char* const kNoOptions[] = {nullptr};
const char* const kLocalOptions[] = {"--no-devices", "--verbose", "--no-invites", nullptr};
const char* const kRemoteOptions[] = {"--no-devices", "--verbose",    "--online",
                                      "--offline",    "--no-invites", nullptr};
const char* const kInviteOptions[] = {"--no-devices", "--verbose", "--online", "--offline",
                                      nullptr};

const Report kReports[] = {
    {"status", kNoOptions},
    {"whoami", kNoOptions},
    {"version", kNoOptions},
    {"show-local", kLocalOptions},
    {"show-remote", kRemoteOptions},
    {"show-invite", kInviteOptions},
    {"default-connect-parameters", kNoOptions},
    {"get-proxy-settings", kNoOptions},
};
const size_t kReportCount = sizeof kReports / sizeof kReports[0];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2)
    return 0;
  const Report& report = kReports[data[0] % kReportCount];
  ArgumentList arguments{report.command};
  for (int bit = 0; report.options[bit]; ++bit) {
    if (data[1] & (1 << bit))
      arguments.push_back(report.options[bit]);
  }
  FuzzedDataProvider input(data + 2, size - 2);
  ResetFakeLibrary([&input](const char*) { return DrawAnswer(input); });

  FuzzCheck(!RunCommandLine(arguments).output.empty(), "a report printed nothing");
  return 0;
}
