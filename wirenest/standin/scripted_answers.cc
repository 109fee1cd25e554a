#include "wirenest/standin/scripted_answers.h"

#include <algorithm>
#include <iterator>

#include "wirenest/standin/json_fields.h"
#include "wirenestdk.h"

namespace standin {

namespace {

using Answers = std::map<std::string, Answer>;

const char* const kAnswerMembers[] = {"is_ok",
                                      "status",
                                      "email",
                                      "version",
                                      "default_params",
                                      "proxy",
                                      "computer_info",
                                      "computer_lists",
                                      "device_lists",
                                      "device_info",
                                      "invite_info",
                                      "set_default_params",
                                      "set_event_callback",
                                      "enable_events_queue",
                                      "early_drains",
                                      "requests"};

const char* const kRequestMembers[] = {"id", "answer", "batches", "drains", "delay_ms"};

// The asynchronous requests: the library's functions that return a command
// id, picked from its list by their result type.
#define WN_REQUEST_NAME(result, name, parameters) WN_REQUEST_NAME_##result(name)
#define WN_REQUEST_NAME_int32_t(name)
#define WN_REQUEST_NAME_WN_CommandId(name) #name,
const char* const kRequestFunctions[] = {WN_FUNCTION_MAP(WN_REQUEST_NAME)};
#undef WN_REQUEST_NAME_WN_CommandId
#undef WN_REQUEST_NAME_int32_t
#undef WN_REQUEST_NAME

template <size_t N>
bool Contains(const char* const (&names)[N], const std::string& name) {
  return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

template <size_t N>
bool CheckMemberNames(const Json::Value& object, const std::string& path,
                      const char* const (&known)[N], const char* what, std::string* error) {
  for (const std::string& name : object.getMemberNames()) {
    if (!Contains(known, name)) {
      *error = MemberPath(path, name) + " is not " + what;
      return false;
    }
  }
  return true;
}

bool ReadPair(const Json::Value& value, const std::string& path, Answer* out, std::string* error) {
  if (!value.isArray() || value.size() != 2 || !value[0].isInt() || !value[1].isString()) {
    *error = path + " must be [int, string]";
    return false;
  }
  out->result = value[0].asInt();
  out->text = value[1].asString();
  return true;
}

bool ReadAnswers(const Json::Value& value, const std::string& path, Answers* out,
                 std::string* error) {
  if (!RequireObject(value, path, error))
    return false;
  for (const std::string& key : value.getMemberNames())
    if (!ReadPair(value[key], MemberPath(path, key), &(*out)[key], error))
      return false;
  return true;
}

bool ReadDeviceAnswers(const Json::Value& value, const std::string& path,
                       std::map<std::string, Answers>* out, std::string* error) {
  if (!RequireObject(value, path, error))
    return false;
  for (const std::string& id_comp : value.getMemberNames())
    if (!ReadAnswers(value[id_comp], MemberPath(path, id_comp), &(*out)[id_comp], error))
      return false;
  return true;
}

bool ReadDrains(const Json::Value& value, const std::string& path, std::vector<Drain>* out,
                std::string* error) {
  if (!value.isArray()) {
    *error = path + " must be a list of lists of strings";
    return false;
  }
  for (Json::ArrayIndex i = 0; i < value.size(); ++i) {
    Drain drain;
    if (!ReadStrings(value[i], ElementPath(path, i), &drain, error))
      return false;
    out->push_back(drain);
  }
  return true;
}

bool ReadIsOk(const Json::Value& value, const std::string& path, std::vector<int32_t>* out,
              std::string* error) {
  if (value.isInt()) {
    out->push_back(value.asInt());
    return true;
  }
  if (!value.isArray() || value.empty()) {
    *error = path + " must be an int or a non-empty list of ints";
    return false;
  }
  for (Json::ArrayIndex i = 0; i < value.size(); ++i) {
    int32_t result;
    if (!ReadInt(value[i], ElementPath(path, i), &result, error))
      return false;
    out->push_back(result);
  }
  return true;
}

bool ReadStatusItem(const Json::Value& value, std::vector<std::optional<std::string>>* out) {
  if (value.isNull()) {
    out->push_back(std::nullopt);
    return true;
  }
  if (!value.isString())
    return false;
  out->push_back(value.asString());
  return true;
}

bool ReadStatus(const Json::Value& value, const std::string& path,
                std::vector<std::optional<std::string>>* out, std::string* error) {
  bool ok = value.isArray() ? !value.empty() : ReadStatusItem(value, out);
  for (Json::ArrayIndex i = 0; ok && value.isArray() && i < value.size(); ++i)
    ok = ReadStatusItem(value[i], out);
  if (!ok)
    *error = path + " must be a string, null or a non-empty list of them";
  return ok;
}

bool ReadRequest(const Json::Value& value, const std::string& path, ScriptedRequest* out,
                 std::string* error) {
  if (!RequireObject(value, path, error) ||
      !CheckMemberNames(value, path, kRequestMembers, "a member of a request", error))
    return false;
  if (value.isMember("id")) {
    uint32_t id = 0;
    if (!ReadUint(value, path, "id", &id, error))
      return false;
    out->id = id;
  }
  if (value.isMember("answer"))
    out->answer = value["answer"];
  if (value.isMember("batches") &&
      !ReadStrings(value["batches"], MemberPath(path, "batches"), &out->batches, error))
    return false;
  if (value.isMember("drains")) {
    out->drains.emplace();
    if (!ReadDrains(value["drains"], MemberPath(path, "drains"), &*out->drains, error))
      return false;
  }
  return ReadUint(value, path, "delay_ms", &out->delay_ms, error);
}

bool ReadRequests(const Json::Value& value, const std::string& path,
                  std::map<std::string, ScriptedRequest>* out, std::string* error) {
  if (!RequireObject(value, path, error) ||
      !CheckMemberNames(value, path, kRequestFunctions, "an asynchronous request", error))
    return false;
  for (const std::string& function : value.getMemberNames())
    if (!ReadRequest(value[function], MemberPath(path, function), &(*out)[function], error))
      return false;
  return true;
}

// Reads answers[key] into *out when it is there.
template <typename T, typename Reader>
bool ReadMember(const Json::Value& answers, const char* key, T* out, std::string* error,
                Reader read) {
  if (!answers.isMember(key))
    return true;
  return read(answers[key], MemberPath("answers", key), out, error);
}

template <typename T, typename Reader>
bool ReadMember(const Json::Value& answers, const char* key, std::optional<T>* out,
                std::string* error, Reader read) {
  if (!answers.isMember(key))
    return true;
  T value{};
  if (!read(answers[key], MemberPath("answers", key), &value, error))
    return false;
  *out = value;
  return true;
}

std::optional<Answer> Lookup(const std::optional<Answers>& answers, const std::string& key,
                             const Answer& not_listed) {
  if (!answers)
    return std::nullopt;
  auto found = answers->find(key);
  return found == answers->end() ? not_listed : found->second;
}

template <typename T>
T Successive(const std::vector<T>& items, size_t* calls) {
  const T& item = items[std::min(*calls, items.size() - 1)];
  if (*calls < items.size())
    ++*calls;
  return item;
}

}  // namespace

bool ScriptedAnswers::Parse(const Json::Value& answers, ScriptedAnswers* out, std::string* error) {
  if (!RequireObject(answers, "answers", error) ||
      !CheckMemberNames(answers, "answers", kAnswerMembers, "a scripted answer", error))
    return false;
  ScriptedAnswers parsed;
  bool ok =
      ReadMember(answers, "is_ok", &parsed.is_ok_, error, ReadIsOk) &&
      ReadMember(answers, "status", &parsed.status_, error, ReadStatus) &&
      ReadMember(answers, "email", &parsed.email_, error, ReadPair) &&
      ReadMember(answers, "version", &parsed.version_, error, ReadPair) &&
      ReadMember(answers, "default_params", &parsed.default_params_, error, ReadPair) &&
      ReadMember(answers, "proxy", &parsed.proxy_, error, ReadPair) &&
      ReadMember(answers, "computer_info", &parsed.computer_info_, error, ReadAnswers) &&
      ReadMember(answers, "computer_lists", &parsed.computer_lists_, error, ReadAnswers) &&
      ReadMember(answers, "device_lists", &parsed.device_lists_, error, ReadAnswers) &&
      ReadMember(answers, "device_info", &parsed.device_info_, error, ReadDeviceAnswers) &&
      ReadMember(answers, "invite_info", &parsed.invite_info_, error, ReadAnswers) &&
      ReadMember(answers, "set_default_params", &parsed.set_default_params_, error, ReadInt) &&
      ReadMember(answers, "set_event_callback", &parsed.set_event_callback_, error, ReadInt) &&
      ReadMember(answers, "enable_events_queue", &parsed.enable_events_queue_, error, ReadInt) &&
      ReadMember(answers, "early_drains", &parsed.early_drains_, error, ReadDrains) &&
      ReadMember(answers, "requests", &parsed.requests_, error, ReadRequests);
  if (ok)
    *out = std::move(parsed);
  return ok;
}

std::optional<int32_t> ScriptedAnswers::NextIsOk() {
  if (is_ok_.empty())
    return std::nullopt;
  return Successive(is_ok_, &is_ok_calls_);
}

std::optional<Answer> ScriptedAnswers::NextStatus() {
  if (status_.empty())
    return std::nullopt;
  std::optional<std::string> status = Successive(status_, &status_calls_);
  if (!status)
    return Answer{0, ""};
  return Answer{1, *status};
}

std::optional<Answer> ScriptedAnswers::ComputerInfo(const std::string& id_comp) const {
  return Lookup(computer_info_, id_comp, Answer{0, ""});
}

std::optional<Answer> ScriptedAnswers::ComputersList(const std::string& filter) const {
  return Lookup(computer_lists_, filter, Answer{-1, ""});
}

std::optional<Answer> ScriptedAnswers::DevicesList(const std::string& id_comp) const {
  return Lookup(device_lists_, id_comp, Answer{-1, ""});
}

std::optional<Answer> ScriptedAnswers::DeviceInfo(const std::string& id_comp,
                                                  const std::string& id_device) const {
  if (!device_info_)
    return std::nullopt;
  auto computer = device_info_->find(id_comp);
  if (computer == device_info_->end())
    return Answer{0, ""};
  auto device = computer->second.find(id_device);
  return device == computer->second.end() ? Answer{0, ""} : device->second;
}

std::optional<Answer> ScriptedAnswers::InviteInfo(const std::string& id_invite) const {
  return Lookup(invite_info_, id_invite, Answer{0, ""});
}

const ScriptedRequest* ScriptedAnswers::Request(const std::string& function) const {
  auto found = requests_.find(function);
  return found == requests_.end() ? nullptr : &found->second;
}

bool ScriptedAnswers::IsScriptedId(uint32_t id) const {
  for (const auto& request : requests_)
    if (request.second.id == id)
      return true;
  return false;
}

}  // namespace standin
