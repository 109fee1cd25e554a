// The "answers" of a scenario: what the library answers instead of the
// world. A getter whose member is absent answers from the world (nullopt
// here); where the member is there, an id or filter it does not list gets
// the member's "not listed" answer.
#ifndef WIRENEST_STANDIN_SCRIPTED_ANSWERS_H_
#define WIRENEST_STANDIN_SCRIPTED_ANSWERS_H_

#include <stddef.h>
#include <stdint.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include <json/json.h>

#include "wirenest/standin/answer.h"
#include "wirenest/standin/drain.h"

namespace standin {

struct ScriptedRequest {
  std::optional<uint32_t> id;
  std::optional<Json::Value> answer;  // a null value: no answer
  std::vector<std::string> batches;
  std::optional<std::vector<Drain>> drains;
  uint32_t delay_ms = 0;
};

class ScriptedAnswers {
 public:
  // False with *error naming the offending member.
  static bool Parse(const Json::Value& answers, ScriptedAnswers* out, std::string* error);

  std::optional<int32_t> NextIsOk();
  std::optional<Answer> NextStatus();
  const std::optional<Answer>& email() const { return email_; }
  const std::optional<Answer>& version() const { return version_; }
  const std::optional<Answer>& default_params() const { return default_params_; }
  const std::optional<Answer>& proxy() const { return proxy_; }
  std::optional<Answer> ComputerInfo(const std::string& id_comp) const;
  std::optional<Answer> ComputersList(const std::string& filter) const;
  std::optional<Answer> DevicesList(const std::string& id_comp) const;
  std::optional<Answer> DeviceInfo(const std::string& id_comp, const std::string& id_device) const;
  std::optional<Answer> InviteInfo(const std::string& id_invite) const;
  const std::optional<int32_t>& set_default_params() const { return set_default_params_; }
  const std::optional<int32_t>& set_event_callback() const { return set_event_callback_; }
  const std::optional<int32_t>& enable_events_queue() const { return enable_events_queue_; }
  const std::vector<Drain>& early_drains() const { return early_drains_; }
  const ScriptedRequest* Request(const std::string& function) const;
  // Whether some request is scripted to return this id.
  bool IsScriptedId(uint32_t id) const;

 private:
  using Answers = std::map<std::string, Answer>;

  std::vector<int32_t> is_ok_;
  size_t is_ok_calls_ = 0;
  std::vector<std::optional<std::string>> status_;
  size_t status_calls_ = 0;
  std::optional<Answer> email_, version_, default_params_, proxy_;
  std::optional<Answers> computer_info_, computer_lists_, device_lists_, invite_info_;
  std::optional<std::map<std::string, Answers>> device_info_;
  std::optional<int32_t> set_default_params_, set_event_callback_, enable_events_queue_;
  std::vector<Drain> early_drains_;
  std::map<std::string, ScriptedRequest> requests_;
};

}  // namespace standin

#endif  // WIRENEST_STANDIN_SCRIPTED_ANSWERS_H_
