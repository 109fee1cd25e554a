// login: the gate, the e-mail test, the password prompt (on a pipe and on a
// terminal) and the answer to the request.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/blackbox/program_runner.h"

namespace {

const char kLoginRequiredAnswers[] =
    R"("is_ok":0,"status":"{\"pipe\":\"connected\",\"server\":\"login_required\"}")";

std::string LoginScenario(const std::string& request) {
  return std::string("{\"answers\":{") + kLoginRequiredAnswers +
         ",\"requests\":{\"WN_LoginComputerAsync\":" + request + "}}}";
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

const char kGateCalls[] = "[\"WN_IsOK\"]\n[\"WN_GetStatus\"]\n";
const char kChannelCalls[] = "[\"WN_SetEventCallback\"]\n[\"WN_EnableEventsQueue\",1]\n";

TEST(Login, RefusedBeforeThePrompt) {
  struct Case {
    std::string scenario;
    std::string email;
    std::string out;
    std::string calls;
  } cases[] = {
      {R"({"answers":{"is_ok":1}})", "me@example.org",
       "ERROR: computer is logged in to central server\n", "[\"WN_IsOK\"]\n"},
      {R"({"answers":{"is_ok":0,"status":null}})", "me@example.org",
       "ERROR: internal error: can't get status from library\n", kGateCalls},
      {LoginScenario("{}"), "me @example.org", "ERROR: invalid email: \"me @example.org\"\n",
       kGateCalls},
      {std::string("{\"answers\":{") + kLoginRequiredAnswers + ",\"set_event_callback\":0}}",
       "me@example.org", "ERROR: internal engine error.\n",
       std::string(kGateCalls) + "[\"WN_SetEventCallback\"]\n"},
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
  const std::string ok = Answer("5", "finished", R"({"error":"OK"})");
  struct Case {
    std::string email;
    std::string input;
    std::string out;
    std::string sent;  // the login request in the call log; empty: none
  } cases[] = {
      {"me@example.org", "", "Password: \nERROR: password should not contain spaces.\n", ""},
      {"me@example.org", " \t\n\n", "Password: \nERROR: password should not contain spaces.\n",
       ""},
      {"me@example.org", "secret word\nmore\n", "Password: \nSuccessfully logged in.\n",
       R"(["WN_LoginComputerAsync","me@example.org","<password: 6 characters>",-1])"},
      {"me@example.org", "\n   \n  s3cr3t-pass", "Password: \nSuccessfully logged in.\n",
       R"(["WN_LoginComputerAsync","me@example.org","<password: 11 characters>",-1])"},
      {"me\t@example.org", "pw\n", "Password: \nSuccessfully logged in.\n",
       R"(["WN_LoginComputerAsync","me\t@example.org","<password: 2 characters>",-1])"},
      {"me@example.org", "\r\v\f\tp\x01w\xc3\xa9\r\nrest",
       "Password: \nSuccessfully logged in.\n",
       R"(["WN_LoginComputerAsync","me@example.org","<password: 4 characters>",-1])"},
  };
  for (const Case& c : cases) {
    ProgramRun run;
    run.scenario = LoginScenario(ok);
    run.input = c.input;
    ProgramResult result = RunProgram({"login", c.email}, run);
    EXPECT_EQ(c.out, result.out) << c.input;
    EXPECT_EQ(c.sent.empty() ? 1 : 0, result.exit_code) << c.input;
    EXPECT_EQ(kGateCalls + std::string(kChannelCalls) + (c.sent.empty() ? "" : c.sent + "\n"),
              result.MainThreadCalls())
        << c.input;
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
    run.scenario = LoginScenario(c.request);
    run.input = "secret\n";
    ProgramResult result = RunProgram({"login", "me@example.org"}, run);
    EXPECT_EQ("Password: \n" + c.out + "\n", result.out) << c.request;
    EXPECT_EQ(c.out == "Successfully logged in." ? 0 : 1, result.exit_code) << c.request;
    EXPECT_EQ(std::string::npos, result.CallLog().find("secret"));
  }
}

// Appends what `fd` delivers until `done` holds or the end of the output;
// false when the deadline passes first.
template <typename Done>
bool ReadUntil(int fd, std::string* text, long long deadline, Done done) {
  char buffer[512];
  while (!done(*text)) {
    long long left = deadline - NowMs();
    if (left <= 0)
      return false;
    pollfd entry = {fd, POLLIN, 0};
    if (poll(&entry, 1, static_cast<int>(left)) <= 0)
      continue;
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0)
      break;
    text->append(buffer, static_cast<size_t>(n));
  }
  return true;
}

bool SameMode(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
         a.c_lflag == b.c_lflag && memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

enum class AtPrompt { TypePassword, TypeInterrupt, SendTerminate };

struct TerminalResult {
  bool prompted = false;
  int exit_code = -1;  // -1 when ended by a signal
  int signal = 0;
  std::string out;
  std::string echoed;  // what the terminal showed of the typing
  bool mode_kept = false;
  std::string calls;
};

// Runs login with standard input on a pseudo-terminal (its controlling
// terminal) and standard output on a pipe, and acts once the prompt shows.
TerminalResult LoginOnTerminal(AtPrompt action) {
  TerminalResult result;
  TempDir dir;
  WriteFile(dir.File("scenario.json"),
            LoginScenario(Answer("5", "finished", R"({"error":"OK"})")));
  int master, slave;
  if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
    return result;
  // A mode of its own, so that only an exact restore gives it back.
  termios before;
  tcgetattr(slave, &before);
  before.c_lflag &= ~static_cast<tcflag_t>(ECHOE);
  before.c_cc[VERASE] = 0x08;
  tcsetattr(slave, TCSANOW, &before);
  tcgetattr(slave, &before);
  int out_pipe[2];
  if (pipe(out_pipe) != 0)
    return result;

  pid_t child = fork();
  if (child == 0) {
    setsid();
    ioctl(slave, TIOCSCTTY, 0);
    dup2(slave, 0);
    dup2(out_pipe[1], 1);
    int err = open(dir.File("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(err, 2);
    for (int fd : {master, slave, out_pipe[0], out_pipe[1], err})
      close(fd);
    setenv("WIRENEST_SCENARIO", dir.File("scenario.json").c_str(), 1);
    unsetenv("WIRENEST_STATE");
    setenv("WIRENEST_CALL_LOG", dir.File("calls.log").c_str(), 1);
    // The signals at the prompt end the program as a shell would let them.
    signal(SIGINT, SIG_DFL);
    ExecProgram({"login", "me@example.org"});
  }
  close(out_pipe[1]);
  long long deadline = NowMs() + 20000LL * TimeScale();
  ReadUntil(out_pipe[0], &result.out, deadline, [](const std::string& t) {
    return t.find("Password: ") != std::string::npos;
  });
  result.prompted = result.out.find("Password: ") != std::string::npos;
  if (result.prompted) {
    switch (action) {
      case AtPrompt::TypePassword:
        if (write(master, "secret word\n", 12) != 12)
          result.prompted = false;
        break;
      case AtPrompt::TypeInterrupt:
        if (write(master, "sec\x03", 4) != 4)
          result.prompted = false;
        break;
      case AtPrompt::SendTerminate:
        kill(child, SIGTERM);
        break;
    }
  }
  // The output ends when the program does; a hang is cut short.
  if (!ReadUntil(out_pipe[0], &result.out, deadline, [](const std::string&) { return false; }))
    kill(child, SIGKILL);
  close(out_pipe[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status))
    result.exit_code = WEXITSTATUS(status);
  else if (WIFSIGNALED(status))
    result.signal = WTERMSIG(status);

  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  char buffer[512];
  ssize_t n;
  while ((n = read(master, buffer, sizeof buffer)) > 0)
    result.echoed.append(buffer, static_cast<size_t>(n));
  termios after;
  tcgetattr(slave, &after);
  result.mode_kept = SameMode(before, after);
  close(master);
  close(slave);
  result.calls = ReadFile(dir.File("calls.log"));
  ExpectNoCheckerReport(result.exit_code, ReadFile(dir.File("stderr")));
  EXPECT_EQ("", ReadFile(dir.File("stderr")));
  return result;
}

TEST(Login, TypedPasswordIsNotEchoed) {
  TerminalResult result = LoginOnTerminal(AtPrompt::TypePassword);
  ASSERT_TRUE(result.prompted) << result.out;
  EXPECT_EQ("Password: \nSuccessfully logged in.\n", result.out);
  EXPECT_EQ(0, result.exit_code);
  EXPECT_EQ("", result.echoed);
  EXPECT_TRUE(result.mode_kept);
  EXPECT_NE(std::string::npos,
            result.calls.find(R"(["WN_LoginComputerAsync","me@example.org",)"
                              R"("<password: 6 characters>",-1])"));
}

TEST(Login, SignalAtThePromptGivesTheTerminalBack) {
  const struct {
    AtPrompt action;
    int signal;
  } cases[] = {{AtPrompt::TypeInterrupt, SIGINT}, {AtPrompt::SendTerminate, SIGTERM}};
  for (const auto& c : cases) {
    TerminalResult result = LoginOnTerminal(c.action);
    ASSERT_TRUE(result.prompted) << result.out;
    EXPECT_EQ("Password: ", result.out);
    EXPECT_EQ(c.signal, result.signal);
    EXPECT_EQ(std::string::npos, result.echoed.find("sec"));
    EXPECT_TRUE(result.mode_kept) << c.signal;
    EXPECT_EQ(std::string::npos, result.calls.find("WN_LoginComputerAsync"));
  }
}

}  // namespace
