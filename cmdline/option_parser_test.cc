#include "cmdline/option_parser.h"

#include <gtest/gtest.h>

namespace {

// The rows of connect-device, in its order.
const OptionSpec kConnectTable[] = {
    {"--compression", true},
    {"--auto-reconnect", false},
    {"--no-auto-reconnect", false},
    {nullptr, false},
};

struct ParseOutcome {
  bool ok;
  OptionValueList options;
  std::vector<std::string> arguments;
  std::string printed;
};

ParseOutcome ParseWith(COptionParser* parser, const ArgumentList& arguments) {
  ParseOutcome outcome;
  testing::internal::CaptureStdout();
  outcome.ok = parser->Parse(arguments);
  outcome.printed = testing::internal::GetCapturedStdout();
  outcome.options = parser->GetOptions();
  outcome.arguments = parser->GetArguments();
  return outcome;
}

TEST(OptionParser, ConnectDeviceTable) {
  struct Case {
    ArgumentList arguments;
    bool ok;
    OptionValueList options;
    std::vector<std::string> positional;
    std::string printed;
  } cases[] = {
      {{}, true, {}, {}, ""},
      {{"41-59"}, true, {}, {"41-59"}, ""},
      // Values after "=" or in the next argument, empty ones included.
      {{"--compression=", "41-59"}, true, {{"--compression", ""}}, {"41-59"}, ""},
      {{"--compression", "bestsize", "41-59"},
       true,
       {{"--compression", "bestsize"}},
       {"41-59"},
       ""},
      {{"--compression", ""}, true, {{"--compression", ""}}, {}, ""},
      {{"--compression=a=b"}, true, {{"--compression", "a=b"}}, {}, ""},
      {{"--compression=--no"}, true, {{"--compression", "--no"}}, {}, ""},
      // Leading parts, stored under the whole name.
      {{"--c=no"}, true, {{"--compression", "no"}}, {}, ""},
      {{"--c="}, true, {{"--compression", ""}}, {}, ""},
      {{"--compr", "bestspeed"}, true, {{"--compression", "bestspeed"}}, {}, ""},
      {{"--a"}, true, {{"--auto-reconnect", ""}}, {}, ""},
      {{"--n"}, true, {{"--no-auto-reconnect", ""}}, {}, ""},
      {{"--no-auto-reconnect"}, true, {{"--no-auto-reconnect", ""}}, {}, ""},
      {{"--compressionx=no"}, false, {}, {}, "ERROR: unknown option: --compressionx=no\n"},
      {{"--Compression=no"}, false, {}, {}, "ERROR: unknown option: --Compression=no\n"},
      {{"--x"}, false, {}, {}, "ERROR: unknown option: --x\n"},
      // "--" begins every name; "=" right after the dashes is malformed.
      {{"--"},
       false,
       {},
       {},
       "ERROR: multiple matches to option -- (--compression, --auto-reconnect, "
       "--no-auto-reconnect)\n"},
      {{"--=no"}, false, {}, {}, "ERROR: wrong option: --=no\n"},
      {{"--="}, false, {}, {}, "ERROR: wrong option: --=\n"},
      // Flags given a value.
      {{"--auto="},
       false,
       {},
       {},
       "ERROR: option --auto-reconnect should not have value, but got: --auto=\n"},
      {{"--no=yes"},
       false,
       {},
       {},
       "ERROR: option --no-auto-reconnect should not have value, but got: --no=yes\n"},
      // A value option followed by an option, or at the end.
      {{"--compression", "--auto-reconnect"},
       false,
       {},
       {},
       "ERROR: option --compression is expecting value\n"},
      {{"41-59", "--comp"},
       false,
       {},
       {"41-59"},
       "ERROR: last option --compression expected value but command line is suddenly "
       "terminated.\n"},
      // Single dashes and plain words are positional, in order.
      {{"-c", "x", "-", "", "-compression=no"},
       true,
       {},
       {"-c", "x", "-", "", "-compression=no"},
       ""},
      // The last occurrence wins and moves to the end.
      {{"--compression=no", "--a", "--compression", "bestsize"},
       true,
       {{"--auto-reconnect", ""}, {"--compression", "bestsize"}},
       {},
       ""},
      {{"--a", "--n", "--a"},
       true,
       {{"--no-auto-reconnect", ""}, {"--auto-reconnect", ""}},
       {},
       ""},
      // The first error ends the parse; what came before it stays.
      {{"a", "--a", "--bad", "b", "--compression"},
       false,
       {{"--auto-reconnect", ""}},
       {"a"},
       "ERROR: unknown option: --bad\n"},
  };
  // One parser for all: each parse starts from empty results.
  COptionParser parser(kConnectTable);
  for (const Case& c : cases) {
    std::string label = testing::PrintToString(c.arguments);
    ParseOutcome outcome = ParseWith(&parser, c.arguments);
    EXPECT_EQ(outcome.ok, c.ok) << label;
    EXPECT_EQ(outcome.options, c.options) << label;
    EXPECT_EQ(outcome.arguments, c.positional) << label;
    EXPECT_EQ(outcome.printed, c.printed) << label;
  }
}

TEST(OptionParser, WholeNameHasNoPrecedenceOverLongerNames) {
  const OptionSpec table[] = {{"--log", false}, {"--login", true}, {nullptr, false}};
  COptionParser parser(table);
  ParseOutcome outcome = ParseWith(&parser, {"--log"});
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.printed, "ERROR: multiple matches to option --log (--log, --login)\n");
}

TEST(OptionParser, TableWithoutTerminatorKnowsNoOption) {
  std::vector<OptionSpec> table(kMaxOptionRows + 1, OptionSpec{"--flag", false});
  table.back().name = nullptr;
  EXPECT_EQ(CountOptionRows(table.data()), 0);
  COptionParser parser(table.data());
  ParseOutcome outcome = ParseWith(&parser, {"--flag"});
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.printed, "ERROR: unknown option: --flag\n");

  table[kMaxOptionRows - 1].name = nullptr;
  EXPECT_EQ(CountOptionRows(table.data()), kMaxOptionRows - 1);
  EXPECT_EQ(CountOptionRows(nullptr), 0);
}

}  // namespace
