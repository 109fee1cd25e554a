// ID_DEVICE resolution and the device aliases over any ID_DEVICE and any
// device list. The input gives the ID_DEVICE, then the library's answers.
#include <stdint.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "frontend/convert/library_value.h"
#include "frontend/devices/device_aliases.h"
#include "frontend/devices/md5_hex.h"
#include "fuzz/fake_library.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/input_script.h"
#include "fuzz/standard_streams.h"

namespace {

const size_t kMaxIdDeviceText = 128;
const char kUnsetComputer[] = "computer untouched";
const char kUnsetDevice[] = "device untouched";

// The devices that IDx names: by real id or by a leading part of the digest.
std::vector<std::string> NamedDevices(const std::vector<std::string>& ids, const std::string& idx) {
  std::vector<std::string> named;
  for (const std::string& id : ids) {
    if ((id == idx || Md5Hex(id).compare(0, idx.size(), idx) == 0) &&
        std::find(named.begin(), named.end(), id) == named.end())
      named.push_back(id);
  }
  return named;
}

void CheckAliases(const std::vector<std::string>& ids) {
  DeviceHashMap hashes;
  HashDeviceIds(ids, &hashes);
  DeviceAliasMap aliases;
  MakeDeviceAliases(hashes, &aliases);
  FuzzCheck(aliases.size() == hashes.size(), "not every device has an alias");
  if (aliases.empty())
    return;
  size_t length = aliases.begin()->second.size();
  FuzzCheck(length >= 2 && length <= 32, "an alias is shorter than 2 or longer than 32");
  std::map<std::string, std::string> digest_of_alias;
  for (const auto& alias : aliases) {
    const std::string& digest = hashes.at(alias.first);
    FuzzCheck(alias.second.size() == length, "the aliases differ in length");
    FuzzCheck(digest.compare(0, length, alias.second) == 0,
              "an alias is no leading part of its digest");
    auto taken = digest_of_alias.emplace(alias.second, digest);
    FuzzCheck(taken.first->second == digest, "two devices share an alias");
    // An alias names its device, unless another device's real id is that text.
    std::vector<std::string> found = FindDevices(hashes, alias.second);
    FuzzCheck(std::find(found.begin(), found.end(), alias.first) != found.end(),
              "an alias does not name its device");
    if (hashes.count(alias.second) == 0 || alias.second == alias.first)
      FuzzCheck(found.size() == 1, "an alias names several devices");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  std::string id_device = input.ConsumeRandomLengthString(kMaxIdDeviceText);
  FakeAnswer list_answer;
  ResetFakeLibrary([&](const char*) {
    list_answer = DrawAnswer(input);
    return list_answer;
  });

  std::string id_comp = kUnsetComputer;
  std::string device_id = kUnsetDevice;
  BeginCapturingOutput();
  bool resolved = ResolveDeviceId(id_device, &id_comp, &device_id);
  std::string output = TakeCapturedOutput();

  size_t dash = id_device.find('-');
  bool well_formed = dash != std::string::npos && dash > 0 && dash + 1 < id_device.size();
  size_t calls = FakeLibraryCalls().size();
  FuzzCheck(calls == (well_formed ? 1u : 0u), "the device list was not asked for once");
  FuzzCheck(IsWholeLines(output), "the output ends inside a line");

  std::vector<std::string> ids;
  bool listed = false;
  if (calls == 1) {
    ScopedVariant list;
    FillFakeValue(list_answer, list.out());
    listed = list_answer.result > 0 && VariantToStringList(list.get(), &ids);
  }
  if (resolved) {
    FuzzCheck(output.empty(), "a resolution printed");
    FuzzCheck(listed, "a device was found without a device list");
    std::string idx = id_device.substr(dash + 1);
    std::vector<std::string> named = NamedDevices(ids, idx);
    FuzzCheck(id_comp == id_device.substr(0, dash), "the computer id is not the first part");
    FuzzCheck(named.size() == 1 && named.front() == device_id,
              "the device found is not the one device named");
  } else {
    FuzzCheck(StartsWith(output, "ERROR: "), "a failed resolution printed no error");
    FuzzCheck(id_comp == kUnsetComputer && device_id == kUnsetDevice,
              "a failed resolution changed its outputs");
    if (listed)
      FuzzCheck(NamedDevices(ids, id_device.substr(dash + 1)).size() != 1,
                "the one device named was not found");
  }
  CheckAliases(ids);
  return 0;
}
