#include "product/update/update_check.h"

#include <string>

#include "editor/igraphics.h"
#include "product/settings/profile_text.h"
#include "product/update/http_get.h"
#include "vorn_version.h"

namespace {

constexpr const char* kProductName = "Vorn";
// The version as the server writes it: a digit each for major and minor, then
// the third part with a leading zero below ten ("1200" for 1.2.0).
constexpr int kServerVersionNumber =
    kVornVersionNumber / 10000 * 1000 + kVornVersionNumber / 100 % 100 * 100 + kVornVersionNumber % 100;
static_assert(kVornVersionNumber / 100 % 100 < 10, "the server's version format has one digit for the minor version");
constexpr const char* kCaption = "Check Online for Update";
// A version number is a few bytes; anything longer is not one.
constexpr std::size_t kAnswerLimit = 4096;

// "1201" -> "1.2.1", "1210" -> "1.2.10", as received after the third digit.
bool NewVersionText(const std::string& answer, std::string& text) {
  if (answer.size() < 3) return false;
  text = std::string(1, answer[0]) + "." + answer[1] + "." + answer.substr(answer[2] == '0' ? 3 : 2);
  return true;
}

}  // namespace

int RunUpdateCheck(IGraphics& graphics, const UpdateServer& server) {
  HttpGetRequest request;
  request.host = server.host;
  request.port = server.port;
  request.object = server.object;
  request.userAgent = kProductName;
  request.timeoutMilliseconds = server.timeoutMilliseconds;
  request.bodyLimit = kAnswerLimit;
  std::string answer;
  const HttpGetResult result = HttpGet(request, answer);

  const std::string noAnswer = "An error occurred while contacting " + server.domain + ".";
  if (result == HttpGetResult::kNoAnswer || (result == HttpGetResult::kBody && answer.empty())) {
    graphics.ShowMessage(noAnswer.c_str(), kCaption, IGraphics::kMessageIconError);
    return kUpdateNoAnswer;
  }
  if (result == HttpGetResult::kTooLong || answer.find('<') != std::string::npos) {
    const std::string invalid = "Invalid call to " + server.domain + ".";
    graphics.ShowMessage(invalid.c_str(), kCaption, IGraphics::kMessageIconError);
    return kUpdateInvalidAnswer;
  }
  if (LeadingInteger(answer) <= kServerVersionNumber) {
    graphics.ShowMessage("Your version is up to date.", kCaption, IGraphics::kMessageIconInformation);
    return kUpdateCompared;
  }
  std::string newVersion;
  if (!NewVersionText(answer, newVersion)) {
    graphics.ShowMessage(noAnswer.c_str(), kCaption, IGraphics::kMessageIconError);
    return kUpdateProcessingFailed;
  }
  const std::string text = std::string("A new version of ") + kProductName + " is available.\n\n" +
                           "\tYour version: \t" + kVornVersionText + "\n" + "\tNew version: \t" + newVersion + "\n" +
                           "\nDo you want to go to " + server.webAddress + " to get the new version?";
  const std::string caption = std::string("New Version of ") + kProductName + " Detected";
  if (graphics.ShowMessage(text.c_str(), caption.c_str(), IGraphics::kMessageYesNo) != IGraphics::kAnswerNo) {
    graphics.OpenLink(server.downloadPage.c_str(), nullptr, nullptr, nullptr);
  }
  return kUpdateCompared;
}
