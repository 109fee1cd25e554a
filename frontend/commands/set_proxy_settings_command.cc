#include "frontend/commands/set_proxy_settings_command.h"

#include <string>

#include "frontend/commands/command_line_zirodo.h"
#include "frontend/library/proxy_runner.h"
#include "platform/console_output.h"

namespace {

const char kCommand[] = "set-proxy-settings";

// What each option sets: a switch to a fixed value, or a text to the
// option's value (the options that take one). The order matters: an
// ambiguous prefix names its matches in table order.
struct ProxyOption {
  const char* name;
  bool ProxySettings::*flag;
  bool flag_value;
  std::string ProxySettings::*text;
};

const ProxyOption kProxyOptions[] = {
    {"--enable", &ProxySettings::enabled, true, nullptr},
    {"--disable", &ProxySettings::enabled, false, nullptr},
    {"--host", nullptr, false, &ProxySettings::host},
    {"--port", nullptr, false, &ProxySettings::port},
    {"--type", nullptr, false, &ProxySettings::type},
    {"--auth", &ProxySettings::auth, true, nullptr},
    {"--no-auth", &ProxySettings::auth, false, nullptr},
    {"--user", nullptr, false, &ProxySettings::user},
    {"--passwd", nullptr, false, &ProxySettings::passwd},
    {nullptr, nullptr, false, nullptr},
};

void ApplyProxyOption(const std::string& name, const std::string& value, ProxySettings* settings) {
  for (const ProxyOption* option = kProxyOptions; option->name; ++option) {
    if (name != option->name)
      continue;
    if (option->flag)
      settings->*option->flag = option->flag_value;
    else
      settings->*option->text = value;
    return;
  }
}

bool IsProxyType(const std::string& type) {
  return type == "http" || type == "socks4" || type == "socks5";
}

// The error line of the first check that the settings fail, or null.
const char* CheckProxySettings(const ProxySettings& settings) {
  if (settings.enabled && !IsProxyType(settings.type))
    return "ERROR: wrong proxy type.";
  if (settings.enabled && (settings.host.empty() || settings.port.empty()))
    return "ERROR: wrong proxy server address.";
  if (settings.auth && settings.user.empty())
    return "ERROR: expected user name to authenticate on proxy server.";
  return nullptr;
}

}  // namespace

std::vector<OptionSpec> MakeProxyOptionTable() {
  std::vector<OptionSpec> table;
  for (const ProxyOption* option = kProxyOptions; option->name; ++option)
    table.push_back(OptionSpec{option->name, option->text != nullptr});
  table.push_back(OptionSpec{nullptr, false});
  return table;
}

int CCommandLineZirOdo::OnSetProxySettings(ArgumentList& arguments) {
  const std::vector<OptionSpec> table = MakeProxyOptionTable();
  COptionParser parser(table.data());
  if (!parser.Parse(arguments)) {
    PrintHelpFor(kCommand);
    return 1;
  }
  const char* error = nullptr;
  ProxySettings settings;
  if (!parser.GetArguments().empty()) {
    error = "ERROR: extra arguments detected.";
  } else {
    for (const auto& option : parser.GetOptions())
      ApplyProxyOption(option.first, option.second, &settings);
    error = CheckProxySettings(settings);
  }
  if (error) {
    PrintLine(error);
    PrintHelpFor(kCommand);
    return 1;
  }
  return RunSetProxySettingsCommand(MakeProxySettingsDocument(settings));
}
