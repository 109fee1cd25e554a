// The banner, the help blocks, help --all, --id-device and the reference
// document, against reviewed golden files.
#include <stdlib.h>

#include <map>

#include <gtest/gtest.h>

#include "tests/blackbox/program_runner.h"
#include "tests/support/test_files.h"

namespace {

void ReplaceEvery(std::string* text, const std::string& from, const std::string& to) {
  for (size_t at = text->find(from); at != std::string::npos; at = text->find(from, at + to.size()))
    text->replace(at, from.size(), to);
}

// The golden files hold the 64-bit build's file names.
std::string Golden(const std::string& name) {
  std::string text = ReadFile(std::string(WNCTL_SOURCE_DIR) + "/tests/blackbox/golden/" + name);
  ReplaceEvery(&text, "libwirenestdk64.so", LibraryName());
  ReplaceEvery(&text, "wnctl64", ProgramName());
  return text;
}

// The help blocks of help --all, by command name.
std::map<std::string, std::string> GoldenHelpBlocks() {
  std::string all = Golden("help-all.txt");
  const std::string rule = "==================================================\n";
  std::string blocks = all.substr(all.rfind(rule) + rule.size());
  std::map<std::string, std::string> by_name;
  size_t at = 0;
  while (at < blocks.size()) {
    EXPECT_EQ(blocks[at], '\n');  // an empty line before every block
    size_t end = blocks.find("\n\n", at + 1);
    end = end == std::string::npos ? blocks.size() : end + 1;
    std::string block = blocks.substr(at + 1, end - at - 1);
    by_name[block.substr(0, block.find_first_of(" :"))] = block;
    at = end;
  }
  return by_name;
}

TEST(Help, Banner) {
  ProgramResult bare = RunProgram({});
  EXPECT_EQ(bare.exit_code, 0);
  EXPECT_EQ(bare.out, Golden("banner.txt"));
  EXPECT_EQ(bare.CallLog(), "");
  ProgramResult help = RunProgram({"help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_EQ(help.out, bare.out);
}

TEST(Help, EveryCommandByNameAndAlias) {
  std::map<std::string, std::string> blocks = GoldenHelpBlocks();
  const char* const aliases[][2] = {
      {"help", ""},
      {"status", "st"},
      {"login", ""},
      {"show-local", "shl"},
      {"show-remote", "shr"},
      {"show-invite", "shi"},
      {"set-comp-name", "scn"},
      {"logout", ""},
      {"connect-device", "cond"},
      {"disconnect-device", "disd"},
      {"default-connect-parameters", "dcp"},
      {"set-device-description", "sdd"},
      {"clear-device-description", "cdd"},
      {"lock-device", "ld"},
      {"unlock-device", "ud"},
      {"set-comport-name", "spn"},
      {"clear-comport-name", "cpn"},
      {"get-proxy-settings", "gpx"},
      {"set-proxy-settings", "spx"},
      {"change-existing-connection-params", "ccp"},
      {"forget-connection", "fc"},
      {"send-invite", "sendi"},
      {"accept-invite", "acci"},
      {"delete-invite", "deli"},
      {"whoami", ""},
      {"version", ""},
  };
  EXPECT_EQ(blocks.size(), sizeof aliases / sizeof aliases[0]);
  for (const auto& row : aliases) {
    ProgramResult by_name = RunProgram({"help", row[0]});
    EXPECT_EQ(by_name.exit_code, 0) << row[0] << ": " << by_name.err;
    EXPECT_EQ(by_name.out, blocks[row[0]]) << row[0];
    // The empty word is the alias of the first command without one: help.
    ProgramResult by_alias = RunProgram({"help", row[1]});
    EXPECT_EQ(by_alias.out, blocks[*row[1] ? row[0] : "help"]) << row[1];
  }
}

TEST(Help, AllAndIdDevice) {
  ProgramResult all = RunProgram({"help", "--all"});
  EXPECT_EQ(all.exit_code, 0);
  EXPECT_EQ(all.out, Golden("help-all.txt"));
  ProgramResult id_device = RunProgram({"help", "--id-device"});
  EXPECT_EQ(id_device.exit_code, 0);
  EXPECT_EQ(id_device.out, Golden("id-device.txt"));
  EXPECT_NE(all.out.find(id_device.out), std::string::npos);
}

TEST(Help, WordsThatNameNoCommand) {
  for (const char* word : {"--ALL", "--al", "--id", "nothing", "Help"}) {
    ProgramResult result = RunProgram({"help", word});
    EXPECT_EQ(result.exit_code, 1) << word;
    EXPECT_EQ(result.out, std::string("ERROR: Unknown command ") + word + "\n");
  }
}

TEST(Help, ReferenceDocumentBuildsWithSphinx) {
  ProgramResult doc = RunProgram({"help", "--doc"});
  EXPECT_EQ(doc.exit_code, 0);
  EXPECT_EQ(doc.out, Golden("help-doc.rst"));

  TempDir dir;
  WriteFile(dir.File("conf.py"), "project = 'wnctl'\n");
  WriteFile(dir.File("index.rst"), doc.out);
  std::string command = "sphinx-build -W -q -b html '" + dir.path() + "' '" + dir.File("html") +
                        "' > '" + dir.File("sphinx.log") + "' 2>&1";
  int status = system(command.c_str());
  EXPECT_EQ(status, 0) << ReadFile(dir.File("sphinx.log"));
}

// A Windows program's standard output is in text mode: each line end
// reaches a pipe as CR LF.
TEST(Help, ReferenceDocumentInWindowsTextMode) {
  if (!ProgramIsForWindows())
    GTEST_SKIP() << "text mode is Windows'";
  std::string golden = Golden("help-doc.rst");
  ReplaceEvery(&golden, "\n", "\r\n");
  ProgramResult doc = RunProgram({"help", "--doc"});
  EXPECT_EQ(golden, doc.raw_out);
  EXPECT_EQ(0, doc.exit_code);
  EXPECT_EQ("2.6.0-standin\r\n", RunProgram({"version"}).raw_out);
}

}  // namespace
