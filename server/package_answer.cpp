#include "server/package_answer.h"

#include <json/reader.h>
#include <json/value.h>

#include "installer/util/string_conv.h"

namespace server {

namespace {

// Members of the package answer that are read at all; others are ignored.
const char* const kPackageMembers[] = {
    "errNo",       "retMsg",  "fileSize",      "downloadUrl",
    "downloadUrl_Patch", "fileVersion", "dirName", "rcDownloadUrl",
    "rcFileSize",  "basePath",
};

const char* const kGameCenterDataMembers[] = {
    "activityName", "installApkUrl", "packageUrl",
};

// Parses |text| into an object value with the reader's default features.
bool ParseObject(const std::string& text, Json::Value* root) {
  if (text.empty() || text[0] == '\0')
    return false;
  Json::Reader reader;
  if (!reader.parse(text, *root, false))
    return false;
  return root->isObject();
}

// Copies the string members of |object| whose names are in |names|.
template <size_t N>
void CollectStrings(const Json::Value& object, const char* const (&names)[N],
                    JsonStrings* members) {
  for (const std::string& name : object.getMemberNames()) {
    for (const char* wanted : names) {
      if (name != wanted)
        continue;
      const Json::Value& value = object[name];
      if (value.isString())
        (*members)[name] = value.asString();
    }
  }
}

const std::string* Find(const JsonStrings& members, const char* name) {
  const auto it = members.find(name);
  return it == members.end() ? nullptr : &it->second;
}

}  // namespace

bool ParseQueryJson(const std::string& text, JsonStrings* members) {
  Json::Value root;
  if (!ParseObject(text, &root))
    return false;
  CollectStrings(root, kPackageMembers, members);
  return true;
}

PackageRule CheckPackageMembers(const JsonStrings& members) {
  const std::string* err_no = Find(members, "errNo");
  if (err_no == nullptr || (*err_no != "0" && *err_no != "2"))
    return PackageRule::kErrNo;
  if (*err_no == "2" && Find(members, "retMsg") != nullptr)
    return PackageRule::kRetMsg;
  const std::string* file_size = Find(members, "fileSize");
  if (file_size == nullptr || file_size->size() <= 4)
    return PackageRule::kFileSize;
  const std::string* url = Find(members, "downloadUrl");
  if (url == nullptr || url->find("http") == std::string::npos)
    return PackageRule::kDownloadUrl;
  return PackageRule::kNone;
}

int MessageForRule(PackageRule rule) {
  return rule == PackageRule::kRetMsg ? kMsgLatestInstaller : kMsgServerError;
}

void StorePackageMembers(const JsonStrings& members, PackageStrings* strings) {
  struct Optional {
    const char* name;
    std::string PackageStrings::*field;
  };
  static const Optional kOptional[] = {
      {"downloadUrl", &PackageStrings::downloadUrl},
      {"fileSize", &PackageStrings::fileSize},
      {"fileVersion", &PackageStrings::fileVersion},
      {"rcDownloadUrl", &PackageStrings::rcDownloadUrl},
      {"rcFileSize", &PackageStrings::rcFileSize},
      {"basePath", &PackageStrings::basePath},
  };
  for (const Optional& member : kOptional) {
    if (const std::string* value = Find(members, member.name))
      strings->*member.field = *value;
  }
  // The folder name becomes part of a path: it is taken from UTF-8 into
  // the code page that the ANSI path functions use.
  if (const std::string* dir_name = Find(members, "dirName"))
    strings->dirName = ::Utf8ToAnsi(*dir_name);
}

PackageRule JudgePackageAnswer(const std::string& text,
                               PackageStrings* strings) {
  JsonStrings members;
  if (!ParseQueryJson(text, &members))
    return PackageRule::kNotAnObject;
  const PackageRule rule = CheckPackageMembers(members);
  if (rule == PackageRule::kNone)
    StorePackageMembers(members, strings);
  return rule;
}

bool ParseGameCenterJson(const std::string& text, JsonStrings* members) {
  Json::Value root;
  if (!ParseObject(text, &root))
    return false;
  static const char* const kTopMembers[] = {"error_message"};
  CollectStrings(root, kTopMembers, members);
  if (root.isMember("data")) {
    const Json::Value& data = root["data"];
    if (data.isObject())
      CollectStrings(data, kGameCenterDataMembers, members);
  }
  return true;
}

GameCenterParams::GameCenterParams(const JsonStrings& members)
    : members_(members) {}

void GameCenterParams::ApplyTo(std::wstring* launch_params) const {
  if (const std::string* value = Find(members_, "activityName"))
    *launch_params = L"-activityName:" + AnsiToWide(*value) + L" ";
  if (const std::string* value = Find(members_, "installApkUrl"))
    *launch_params += L"-installApkUrl:" + AnsiToWide(*value) + L" ";
  if (const std::string* value = Find(members_, "packageUrl"))
    *launch_params += L"-packageUrl:" + AnsiToWide(*value);
}

}  // namespace server
