#pragma once

// Decisions about the two JSON answers of the product side: the package
// answer of "infor?" and the game-center answer. Pure functions of the
// response text, so that every rule is tested with tables of cases.
//
// Only members whose JSON type is string count; a member given as a number
// ("fileSize": 123456) is treated as absent.

#include <map>
#include <string>

#include "server/package_strings.h"

namespace server {

using JsonStrings = std::map<std::string, std::string>;

// Indices into the installer's message table.
constexpr int kMsgServerError = 0;
constexpr int kMsgLatestInstaller = 12;

// The rule an answer failed, in the order the rules are applied.
enum class PackageRule {
  kNone,         // accepted
  kNotAnObject,  // empty, starts with a zero byte, not JSON or not an object
  kErrNo,        // "errNo" absent or other than "0" / "2"
  kRetMsg,       // "errNo" "2" together with "retMsg"
  kFileSize,     // "fileSize" absent or 4 characters or fewer
  kDownloadUrl,  // "downloadUrl" absent, empty or without "http"
};

// Reads the string members of a package answer into |members| (the listed
// names only). False when the text is empty, starts with a zero byte, does
// not parse or is not a JSON object.
bool ParseQueryJson(const std::string& text, JsonStrings* members);

// Applies the member rules in order: "errNo", "retMsg", "fileSize",
// "downloadUrl". Returns the first that fails, or kNone.
PackageRule CheckPackageMembers(const JsonStrings& members);

// The message the user sees for a failed rule.
int MessageForRule(PackageRule rule);

// Stores the members of an accepted answer: "downloadUrl" and "fileSize"
// always, the optional members only when present ("dirName" converted from
// UTF-8 to the ANSI code page). Absent members leave |strings| alone.
void StorePackageMembers(const JsonStrings& members, PackageStrings* strings);

// Parse + rules in one step; fills |strings| only when accepted.
PackageRule JudgePackageAnswer(const std::string& text,
                               PackageStrings* strings);

// Reads a game-center answer: "error_message" and, inside the object
// "data", "activityName", "installApkUrl" and "packageUrl", all into one
// flat map. Same failure conditions as ParseQueryJson.
bool ParseGameCenterJson(const std::string& text, JsonStrings* members);

// The launch parameters that a game-center answer contributes.
class GameCenterParams {
 public:
  explicit GameCenterParams(const JsonStrings& members);

  // "-activityName:" + value + " " replaces |launch_params|;
  // "-installApkUrl:" + value + " " and "-packageUrl:" + value are
  // appended. Values are converted from the ANSI code page.
  void ApplyTo(std::wstring* launch_params) const;

 private:
  JsonStrings members_;
};

}  // namespace server
