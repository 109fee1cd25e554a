// login: the gate, the e-mail test, the password prompt (on a pipe, on a
// terminal and at a Windows console) and the answer to the request.
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <optional>

#include <gtest/gtest.h>

#include "tests/blackbox/console_job.h"
#include "tests/blackbox/program_runner.h"
#include "tests/blackbox/terminal_job.h"
#include "tests/support/json_text.h"
#include "tests/support/library_texts.h"
#include "tests/support/stand_in_scenario.h"
#include "tests/support/test_files.h"

namespace {

std::string LoginScenario(const Json::Value& request) {
  return StandInScenario().LoginRequired().Request("WN_LoginComputerAsync", request).Text();
}

std::string Answer(const std::string& id_cmd, const std::string& status,
                   const std::string& result) {
  std::string answer = R"({"id":5,"answer":{"event":"command_result","id_cmd":)" + id_cmd;
  if (!status.empty())
    answer += R"(,"status":")" + status + "\"";
  if (!result.empty())
    answer += R"(,"result":)" + result;
  return answer + "}}";
}

TEST(Login, RefusedBeforeThePrompt) {
  struct Case {
    std::string scenario;
    std::string email;
    std::string out;
    std::string calls;
  } cases[] = {
      {StandInScenario().LoggedIn().Text(), "me@example.org",
       "ERROR: computer is logged in to central server\n", kIsOkCall},
      {StandInScenario().Answer("is_ok", 0).Answer("status", Json::Value()).Text(),
       "me@example.org", "ERROR: internal error: can't get status from library\n",
       kStatusGateCalls},
      {LoginScenario(Json::Value(Json::objectValue)), "me @example.org",
       "ERROR: invalid email: \"me @example.org\"\n", kStatusGateCalls},
      {StandInScenario().LoginRequired().Answer("set_event_callback", 0).Text(), "me@example.org",
       "ERROR: internal engine error.\n", kStatusGateCalls + std::string(kSetEventCallbackCall)},
  };
  for (const Case& c : cases) {
    ProgramRun run;
    run.scenario = c.scenario;
    run.input = "secret\n";
    ProgramResult result = RunProgram({"login", c.email}, run);
    EXPECT_EQ(c.out, result.out) << c.email;
    EXPECT_EQ(1, result.exit_code) << c.email;
    EXPECT_EQ(c.calls, result.CallLog()) << c.email;
  }
}

TEST(Login, PasswordFromRedirectedInput) {
  struct Case {
    std::string email;
    std::string input;
    std::string out;
    std::string sent;  // the login request in the call log; empty: none
  } cases[] = {
      {"me@example.org", "", "Password: \nERROR: password should not contain spaces.\n", ""},
      {"me@example.org", " \t\n\n", "Password: \nERROR: password should not contain spaces.\n", ""},
      {"me@example.org", "secret word\nmore\n", "Password: \nSuccessfully logged in.\n",
       R"(["WN_LoginComputerAsync","me@example.org","<password: 6 characters>",-1])"},
      {"me@example.org", "\n   \n  s3cr3t-pass", "Password: \nSuccessfully logged in.\n",
       R"(["WN_LoginComputerAsync","me@example.org","<password: 11 characters>",-1])"},
      {"me\t@example.org", "pw\n", "Password: \nSuccessfully logged in.\n",
       R"(["WN_LoginComputerAsync","me\t@example.org","<password: 2 characters>",-1])"},
      {"me@example.org", "\r\v\f\tp\x01w\xc3\xa9\r\nrest", "Password: \nSuccessfully logged in.\n",
       R"(["WN_LoginComputerAsync","me@example.org","<password: 4 characters>",-1])"},
  };
  for (const Case& c : cases) {
    ProgramRun run;
    run.scenario = LoginScenario(AnsweredRequest(5).value());
    run.input = c.input;
    ProgramResult result = RunProgram({"login", c.email}, run);
    EXPECT_EQ(c.out, result.out) << c.input;
    EXPECT_EQ(c.sent.empty() ? 1 : 0, result.exit_code) << c.input;
    EXPECT_EQ(
        kStatusGateCalls + std::string(kEventChannelCalls) + (c.sent.empty() ? "" : c.sent + "\n"),
        result.MainThreadCalls())
        << c.input;
    EXPECT_EQ("", result.err);
  }
}

// An input that can only be written ends the password at once, as an empty
// one does.
TEST(Login, InputOpenOnlyForWritingEndsAtOnce) {
  ProgramRun run;
  run.scenario = LoginScenario(AnsweredRequest(5).value());
  run.write_only_input = true;
  ProgramResult result = RunProgram({"login", "me@example.org"}, run);
  EXPECT_EQ("Password: \nERROR: password should not contain spaces.\n", result.out);
  EXPECT_EQ(1, result.exit_code);
  EXPECT_EQ(kStatusGateCalls + std::string(kEventChannelCalls), result.MainThreadCalls());
  EXPECT_EQ("", result.err);
}

// Without a scripted answer the world checks the password itself: the one
// its scenario gives in clear, and the one the demo world keeps in its state
// file.
TEST(Login, CheckedAgainstTheWorldsOwnPassword) {
  TempDir dir;
  ProgramRun saved;
  saved.state_file = dir.File("state.json");
  ASSERT_EQ("Success\n", RunProgram({"logout", "local"}, saved).out);
  ProgramRun in_clear;
  in_clear.scenario = R"({"world":{"account":{"email":"user@example.com","password":"secret"}}})";
  const std::string kWrong =
      "Password: \nERROR: login command finished with error: wrong_credentials\n";
  const std::string kRight = "Password: \nSuccessfully logged in.\n";
  struct Case {
    const char* title;
    ProgramRun run;
    std::string input;
    std::string out;
  } cases[] = {
      {"in clear, wrong", in_clear, "Secret\n", kWrong},
      {"in clear, right", in_clear, "secret\n", kRight},
      {"state file, wrong", saved, "Secret\n", kWrong},
      {"state file, right", saved, "secret\n", kRight},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.title);
    c.run.input = c.input;
    ProgramResult result = RunProgram({"login", "user@example.com"}, c.run);
    EXPECT_EQ(c.out, result.out);
    EXPECT_EQ(c.out == kRight ? 0 : 1, result.exit_code);
    EXPECT_EQ("", result.err);
  }
}

TEST(Login, AnswersInLoginWording) {
  struct Case {
    std::string request;
    std::string out;
  } cases[] = {
      {R"({"id":0})", "ERROR: Can't execute login command."},
      {Answer("6", "finished", R"({"error":"OK"})"), "ERROR: answer on wrong command received."},
      {Answer("\"5\"", "finished", R"({"error":"OK"})"), "Successfully logged in."},
      {Answer("5", "finished", ""), "ERROR: invalid answer on command."},
      {Answer("5", "timeout", R"({"error":"OK"})"), "ERROR: login operation timeout"},
      {Answer("5", "finished", R"({"error":"wrong_password"})"),
       "ERROR: login command finished with error: wrong_password"},
      {Answer("5", "finished", "{}"), "ERROR: login command finished with error: "},
      {R"({"id":3000000000,"answer":{"event":"command_result","id_cmd":3000000000,
           "status":"finished","result":{"error":"OK"}}})",
       "Successfully logged in."},
  };
  for (const Case& c : cases) {
    ProgramRun run;
    run.scenario = LoginScenario(ParseJson(c.request));
    run.input = "secret\n";
    ProgramResult result = RunProgram({"login", "me@example.org"}, run);
    EXPECT_EQ("Password: \n" + c.out + "\n", result.out) << c.request;
    EXPECT_EQ(c.out == "Successfully logged in." ? 0 : 1, result.exit_code) << c.request;
    EXPECT_EQ(std::string::npos, result.CallLog().find("secret"));
  }
}

// A Windows program's prompt is at its console, whose mode Wine's console
// host keeps to itself, and Windows has no POSIX signals or job control:
// LoginAtAConsole has the Windows cases.
const char kTerminalModeOfPosix[] =
    "the echo is a console's mode on Windows, not the terminal's (LoginAtAConsole)";
const char kPosixSignals[] = "Windows has no POSIX signals; Ctrl+C is in LoginAtAConsole";
const char kJobControl[] = "Windows has no job control (Ctrl+Z ends Wine's console)";

TerminalJobSetup LoginJob(const std::vector<int>& ignored_signals = {}) {
  return {{"login", "me@example.org"}, LoginScenario(AnsweredRequest(5).value()), ignored_signals};
}

const char kLoginSent[] =
    R"(["WN_LoginComputerAsync","me@example.org","<password: 6 characters>",-1])";

// The prompt shows, and the program waits for the password.
bool AtThePrompt(TerminalJob* job) {
  return job->WaitForOutput("Password: ") && job->WaitUntilReadingInput();
}

termios WithoutEcho(termios mode) {
  mode.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  return mode;
}

// Types the keys, or else sends the signal.
void ActAtThePrompt(TerminalJob* job, const std::string& keys, int signal_number) {
  if (keys.empty())
    job->Signal(signal_number);
  else
    EXPECT_TRUE(job->Type(keys));
}

// Types the password and expects the login to go on unseen, and the
// terminal's mode `mode` afterwards.
void ExpectLoginGoesOn(TerminalJob* job, const termios& mode) {
  ASSERT_TRUE(job->Type("secret word\n"));
  job->WaitForEnd();
  EXPECT_EQ("Password: \nSuccessfully logged in.\n", job->out());
  EXPECT_EQ(0, job->exit_code());
  EXPECT_EQ("", job->Echoed());
  EXPECT_TRUE(SameMode(mode, job->Mode()));
  EXPECT_NE(std::string::npos, job->CallLog().find(kLoginSent));
  EXPECT_EQ("", job->Err());
}

TEST(Login, TypedPasswordIsNotEchoed) {
  if (ProgramIsForWindows())
    GTEST_SKIP() << kTerminalModeOfPosix;
  TerminalJob job(LoginJob());
  ASSERT_TRUE(AtThePrompt(&job)) << job.out();
  EXPECT_TRUE(SameMode(WithoutEcho(job.initial_mode()), job.Mode()));
  ExpectLoginGoesOn(&job, job.initial_mode());
}

// User-mode emulators keep the two highest real-time signals for themselves,
// so a program under one never receives them.
const int kHighRealTimeSignal = SIGRTMAX - 2;

TEST(Login, SignalAtThePromptGivesTheTerminalBack) {
  if (ProgramIsForWindows())
    GTEST_SKIP() << kPosixSignals;
  const struct {
    std::string keys;  // empty: the signal is sent
    int signal;
  } cases[] = {
      {"sec\x03", SIGINT}, {"sec\x1c", SIGQUIT}, {"", SIGTERM},
      {"", SIGHUP},        {"", SIGALRM},        {"", SIGUSR1},
      {"", SIGUSR2},       {"", SIGXCPU},        {"", SIGVTALRM},
      {"", SIGPROF},       {"", SIGIO},          {"", SIGSYS},
      {"", SIGABRT},       {"", SIGRTMIN},       {"", kHighRealTimeSignal},
  };
  for (const auto& c : cases) {
    TerminalJob job(LoginJob());
    ASSERT_TRUE(AtThePrompt(&job)) << job.out();
    ActAtThePrompt(&job, c.keys, c.signal);
    job.WaitForEnd();
    EXPECT_EQ("Password: ", job.out());
    EXPECT_EQ(c.signal, job.ending_signal());
    EXPECT_EQ(std::string::npos, job.Echoed().find("sec"));
    EXPECT_TRUE(SameMode(job.initial_mode(), job.Mode())) << c.signal;
    EXPECT_EQ(std::string::npos, job.CallLog().find("WN_LoginComputerAsync"));
    EXPECT_EQ("", job.Err());
  }
}

// Stops the program at the prompt with the keys or the signal; the terminal
// is then the shell's, in the mode `given_back`, and the shell sets `shells`.
void StopAtThePrompt(TerminalJob* job, const std::string& keys, int signal_number,
                     const termios& given_back, const termios& shells) {
  ASSERT_TRUE(AtThePrompt(job)) << job->out();
  ActAtThePrompt(job, keys, signal_number);
  int status = 0;
  ASSERT_TRUE(job->NextStatus(&status));
  ASSERT_TRUE(WIFSTOPPED(status));
  EXPECT_EQ(signal_number, WSTOPSIG(status));
  EXPECT_TRUE(SameMode(given_back, job->Mode()));
  job->SetMode(shells);
}

// A mode other than the one the program found, with the echo on.
termios ShellsMode(termios mode) {
  mode.c_lflag |= ECHOE;
  mode.c_cc[VKILL] = 0x0b;
  return mode;
}

void ExpectContinued(TerminalJob* job) {
  int status = 0;
  ASSERT_TRUE(job->NextStatus(&status));
  EXPECT_TRUE(WIFCONTINUED(status));
}

TEST(LoginJobControl, StopAtThePromptGivesTheTerminalBackUntilContinued) {
  if (ProgramIsForWindows())
    GTEST_SKIP() << kJobControl;
  const struct {
    std::string keys;  // empty: the signal is sent
    int signal;
  } cases[] = {{"sec\x1a", SIGTSTP}, {"", SIGTTIN}, {"", SIGTTOU}};
  for (const auto& c : cases) {
    TerminalJob job(LoginJob());
    const termios shells = ShellsMode(job.initial_mode());
    // The mode found on going on is the one to give back, at the next stop
    // too.
    termios given_back = job.initial_mode();
    for (int stop = 0; stop < 2; ++stop) {
      ASSERT_NO_FATAL_FAILURE(StopAtThePrompt(&job, c.keys, c.signal, given_back, shells))
          << c.signal;
      job.Continue(TerminalJob::Place::kForeground);
      ASSERT_NO_FATAL_FAILURE(ExpectContinued(&job));
      ASSERT_TRUE(job.WaitForMode(WithoutEcho(shells))) << c.signal;
      given_back = shells;
    }
    ExpectLoginGoesOn(&job, shells);
  }
}

// Without the terminal, the program leaves its mode to the shell: sent on
// in the background after Ctrl-Z, it waits, and stops on SIGTTIN (which a
// read in the background brings).
void StopInTheBackground(TerminalJob* job, const termios& shells) {
  ASSERT_NO_FATAL_FAILURE(StopAtThePrompt(job, "\x1a", SIGTSTP, job->initial_mode(), shells));
  job->Continue(TerminalJob::Place::kBackground);
  ASSERT_NO_FATAL_FAILURE(ExpectContinued(job));
  ASSERT_TRUE(job->WaitUntilReadingInput());
  EXPECT_TRUE(SameMode(shells, job->Mode()));
  job->Signal(SIGTTIN);
  int status = 0;
  ASSERT_TRUE(job->NextStatus(&status));
  ASSERT_TRUE(WIFSTOPPED(status));
  EXPECT_EQ(SIGTTIN, WSTOPSIG(status));
  EXPECT_TRUE(SameMode(shells, job->Mode()));
}

TEST(LoginJobControl, EndedInTheBackgroundLeavesTheShellsMode) {
  if (ProgramIsForWindows())
    GTEST_SKIP() << kJobControl;
  TerminalJob job(LoginJob());
  const termios shells = ShellsMode(job.initial_mode());
  ASSERT_NO_FATAL_FAILURE(StopInTheBackground(&job, shells));
  // Back at its prompt, the shell reads keys one by one.
  termios at_prompt = shells;
  at_prompt.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  job.SetMode(at_prompt);
  // As "kill %1" does.
  job.Signal(SIGTERM);
  job.Continue(TerminalJob::Place::kBackground);
  job.WaitForEnd();
  EXPECT_EQ(SIGTERM, job.ending_signal());
  EXPECT_TRUE(SameMode(at_prompt, job.Mode()));
  EXPECT_EQ("Password: ", job.out());
  EXPECT_EQ("", job.Err());
}

TEST(LoginJobControl, BackInTheForegroundThePasswordIsNotEchoed) {
  if (ProgramIsForWindows())
    GTEST_SKIP() << kJobControl;
  TerminalJob job(LoginJob());
  const termios shells = ShellsMode(job.initial_mode());
  ASSERT_NO_FATAL_FAILURE(StopInTheBackground(&job, shells));
  job.Continue(TerminalJob::Place::kForeground);
  ASSERT_NO_FATAL_FAILURE(ExpectContinued(&job));
  ASSERT_TRUE(job.WaitForMode(WithoutEcho(shells)));
  ExpectLoginGoesOn(&job, shells);
}

// Signals the program ignores, a stop signal ignored by whoever started it,
// and a SIGCONT without a stop: the prompt waits on, still silent.
TEST(Login, SignalsThatLeaveThePromptAlone) {
  if (ProgramIsForWindows())
    GTEST_SKIP() << kPosixSignals;
  const struct {
    std::string keys;  // empty: the signal is sent
    int signal;
    std::vector<int> ignored_at_start;
  } cases[] = {
      {"", SIGPIPE, {}}, {"", SIGXFSZ, {}}, {"", SIGQUIT, {SIGQUIT}}, {"\x1a", SIGTSTP, {SIGTSTP}},
      {"", SIGCONT, {}},
  };
  for (const auto& c : cases) {
    TerminalJob job(LoginJob(c.ignored_at_start));
    ASSERT_TRUE(AtThePrompt(&job)) << job.out();
    ActAtThePrompt(&job, c.keys, c.signal);
    ExpectLoginGoesOn(&job, job.initial_mode());
  }
}

// A Windows program's login at Wine's console, under the Windows build's
// console_parent.exe (WNCTL_TEST_CONSOLE_PARENT), which runs it and then
// prints how it ended and whether the console echoes. Each case starts at
// the prompt, the console reading.
class LoginAtAConsole : public testing::Test {
 protected:
  void SetUp() override {
    if (!ProgramIsForWindows())
      GTEST_SKIP() << "a console of Wine's is for a Windows program";
    const std::string parent = ConsoleParent();
    ASSERT_NE("", parent) << "WNCTL_TEST_CONSOLE_PARENT names no console_parent.exe";
    job_.emplace(
        std::vector<std::string>{parent, WindowsPath(ProgramPath()), "login", "me@example.org"},
        LoginScenario(AnsweredRequest(5).value()));
    ASSERT_TRUE(job_->WaitUntilShown("Password: ") && job_->WaitUntilConsoleReads())
        << job_->Shown();
  }

  std::optional<ConsoleJob> job_;
};

TEST_F(LoginAtAConsole, ThePasswordIsNotShownAndTheEchoComesBack) {
  ConsoleJob& job = *job_;
  ASSERT_TRUE(job.Type("secret\r"));
  EXPECT_TRUE(job.WaitForEnd());
  EXPECT_NE(std::string::npos,
            job.Shown().find("Password: \nSuccessfully logged in.\nexit code 0, echo on\n"))
      << job.Shown();
  EXPECT_EQ(std::string::npos, job.Shown().find("secret")) << job.Shown();
  EXPECT_NE(std::string::npos, job.CallLog().find(kLoginSent));
  EXPECT_TRUE(SameMode(job.initial_mode(), job.Mode()));
  EXPECT_EQ("", job.Err());
}

// Windows ends a program at a Ctrl+C with STATUS_CONTROL_C_EXIT; Wine's is 0.
const char* const kCtrlCExitCodes[] = {"0", "3221225786"};

TEST_F(LoginAtAConsole, CtrlCAtThePromptEndsTheRunAndGivesTheEchoBack) {
  ConsoleJob& job = *job_;
  // A Ctrl+C drops the typing the console has not read yet: the keys go
  // first, on their own.
  ASSERT_TRUE(job.Type("sec"));
  const timespec pause = {0, 100 * 1000 * 1000};
  nanosleep(&pause, nullptr);
  ASSERT_TRUE(job.Type("\x03"));
  EXPECT_TRUE(job.WaitForEnd());
  const std::string shown = job.Shown();
  bool ended_by_ctrl_c = false;
  for (const char* code : kCtrlCExitCodes) {
    ended_by_ctrl_c = ended_by_ctrl_c || shown.find("Password: exit code " + std::string(code) +
                                                    ", echo on\n") != std::string::npos;
  }
  EXPECT_TRUE(ended_by_ctrl_c) << shown;
  EXPECT_EQ(std::string::npos, shown.find("sec")) << shown;
  EXPECT_EQ(std::string::npos, job.CallLog().find("WN_LoginComputerAsync"));
  EXPECT_TRUE(SameMode(job.initial_mode(), job.Mode()));
  EXPECT_EQ("", job.Err());
}

// What is typed at the console arrives as typed, in letters that neither
// the console's code page nor the ANSI one holds: the library checks it
// against the account's password.
TEST(LoginAtAConsoleInAnyLetters, ThePasswordArrivesAsTyped) {
  if (!ProgramIsForWindows())
    GTEST_SKIP() << "a console of Wine's is for a Windows program";
  const std::string parent = ConsoleParent();
  ASSERT_NE("", parent) << "WNCTL_TEST_CONSOLE_PARENT names no console_parent.exe";
  const char kPassword[] = "s\xC3\xA9\xD0\xBA\xE6\x97\xA5";  // séк日
  ConsoleJob job({parent, WindowsPath(ProgramPath()), "login", "me@example.org"},
                 std::string(R"({"world": {"account": {"email": "me@example.org", "password": ")") +
                     kPassword + "\"}}}");
  ASSERT_TRUE(job.WaitUntilShown("Password: ") && job.WaitUntilConsoleReads()) << job.Shown();
  ASSERT_TRUE(job.Type(kPassword + std::string("\r")));
  EXPECT_TRUE(job.WaitForEnd());
  EXPECT_NE(std::string::npos,
            job.Shown().find("Password: \nSuccessfully logged in.\nexit code 0, echo on\n"))
      << job.Shown();
  EXPECT_NE(std::string::npos,
            job.CallLog().find(
                R"(["WN_LoginComputerAsync","me@example.org","<password: 4 characters>",-1])"))
      << job.CallLog();
  EXPECT_EQ("", job.Err());
}

}  // namespace
