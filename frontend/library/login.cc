#include "frontend/library/login.h"

#include <openssl/crypto.h>

#include "frontend/convert/library_value.h"
#include "frontend/library/command_runner.h"
#include "frontend/library/library_interface.h"
#include "frontend/library/service_state.h"
#include "platform/console_echo.h"
#include "platform/console_input.h"
#include "platform/console_output.h"
#include "platform/variant.h"

namespace {

const RunnerMessages kLoginRunnerMessages = {
    "ERROR: Can't execute login command.",
    "ERROR: login command is not responding.",
    "ERROR: no answer on login command.",
    "ERROR: answer on wrong command received.",
    "ERROR: invalid answer on command.",
    "ERROR: login operation timeout",
    "Successfully logged in.",
    "ERROR: login command finished with error: ",
};

// The password is wiped from memory once it has been used.
void WipeText(std::string* text) {
  OPENSSL_cleanse(&(*text)[0], text->size());
  text->clear();
}

// A library text value whose characters are wiped before it is freed.
class SecretVariant {
 public:
  explicit SecretVariant(const std::string& text) : value_(text) {}
  ~SecretVariant() {
    BSTR text = value_.get().bstrVal;
    if (text)
      OPENSSL_cleanse(text, SysStringLen(text) * sizeof(OLECHAR));
  }
  SecretVariant(const SecretVariant&) = delete;
  SecretVariant& operator=(const SecretVariant&) = delete;
  const VARIANT& get() const { return value_.get(); }

 private:
  ScopedVariant value_;
};

}  // namespace

std::string ReadPassword() {
  ScopedConsoleEchoOff echo_off;
  std::string password;
  {
    // The Enter was not echoed: the prompt line is ended here.
    PromptLine prompt("Password: ");
    password = ReadInputWord();
  }
  return password;
}

int RunLoginComputerCommand(const std::string& email, const std::string& password) {
  ScopedVariant email_value(email);
  SecretVariant password_value(password);
  int result = SendAndCheckAnswer(
      [&] {
        return WN_LoginComputerAsync(email_value.get(), password_value.get(), kUnusedRequestInt);
      },
      kLoginWaitMs, kLoginRunnerMessages);
  return result == 0 ? 0 : -1;
}

int LoginComputer(const std::string& email) {
  ServiceState state = GetServiceState(kLoginGateBudgetMs);
  if (state != ServiceState::LoginRequired) {
    PrintServiceStateError(state);
    return 1;
  }
  if (email.empty() || email.find(' ') != std::string::npos) {
    PrintLine("ERROR: invalid email: \"" + email + "\"");
    return 1;
  }
  if (!PrepareEventChannel())
    return 1;
  std::string password = ReadPassword();
  int result;
  if (password.empty() || password.find(' ') != std::string::npos) {
    PrintLine("ERROR: password should not contain spaces.");
    result = 1;
  } else {
    result = RunLoginComputerCommand(email, password) == 0 ? 0 : 1;
  }
  WipeText(&password);
  return result;
}
