#include "tests/product/update_check_cases.h"

#include <sstream>

#include "editor/platform/igraphics_headless.h"
#include "product/update/update_check.h"

namespace {

using Server = UpdateCheckCase::Server;

constexpr const char* kCaption = "Check Online for Update";
constexpr const char* kNewCaption = "New Version of Vorn Detected";
constexpr const char* kUpToDate = "Your version is up to date.";
constexpr const char* kNoAnswer = "An error occurred while contacting test.example.";
constexpr const char* kInvalid = "Invalid call to test.example.";
constexpr const char* kDownloadPage = "http://www.test.example/vorn/";
constexpr int kYes = IGraphics::kAnswerYes;
constexpr int kError = IGraphics::kMessageIconError;
constexpr int kInformation = IGraphics::kMessageIconInformation;
constexpr int kYesNo = IGraphics::kMessageYesNo;

UpdateServer LoopbackServer(int port) {
  UpdateServer server;
  server.host = "127.0.0.1";
  server.port = port;
  server.object = "music/version/?file=vorn";
  server.domain = "test.example";
  server.webAddress = "www.test.example";
  server.downloadPage = kDownloadPage;
  server.timeoutMilliseconds = 400;
  return server;
}

std::string Question(const std::string& version) {
  return "A new version of Vorn is available.\n\n\tYour version: \t1.2.0\n\tNew version: \t" + version +
         "\n\nDo you want to go to www.test.example to get the new version?";
}

template <typename T>
void Compare(std::ostringstream& out, const char* what, const T& seen, const T& expected) {
  if (!(seen == expected)) out << what << ": saw \"" << seen << "\", expected \"" << expected << "\"; ";
}

LoopbackHttpServer::Behaviour BehaviourOf(Server server) {
  switch (server) {
    case Server::kSilent: return LoopbackHttpServer::Behaviour::kSilent;
    case Server::kEndless: return LoopbackHttpServer::Behaviour::kEndlessBody;
    default: return LoopbackHttpServer::Behaviour::kAnswer;
  }
}

}  // namespace

std::vector<UpdateCheckCase> UpdateCheckCases() {
  return {
      {"same version", Server::kAnswers, "1200", 0, kUpdateCompared, kUpToDate, kCaption, kInformation, ""},
      {"older version", Server::kAnswers, "1100", 0, kUpdateCompared, kUpToDate, kCaption, kInformation, ""},
      {"third part, No", Server::kAnswers, "1201", 0, kUpdateCompared, Question("1.2.1"), kNewCaption, kYesNo, ""},
      {"two-digit third part", Server::kAnswers, "1210", 0, kUpdateCompared, Question("1.2.10"), kNewCaption, kYesNo,
       ""},
      {"minor, Yes", Server::kAnswers, "1300", kYes, kUpdateCompared, Question("1.3.0"), kNewCaption, kYesNo,
       kDownloadPage},
      {"major", Server::kAnswers, "2000", 0, kUpdateCompared, Question("2.0.0"), kNewCaption, kYesNo, ""},
      {"line end kept as received", Server::kAnswers, "1300\r\n", 0, kUpdateCompared, Question("1.3.0\r\n"),
       kNewCaption, kYesNo, ""},
      {"an HTML page", Server::kAnswers, "<html><body>404</body></html>", 0, kUpdateInvalidAnswer, kInvalid, kCaption,
       kError, ""},
      {"not a number", Server::kAnswers, "latest", 0, kUpdateCompared, kUpToDate, kCaption, kInformation, ""},
      {"empty body", Server::kAnswers, "", 0, kUpdateNoAnswer, kNoAnswer, kCaption, kError, ""},
      {"refused connection", Server::kRefuses, "", 0, kUpdateNoAnswer, kNoAnswer, kCaption, kError, ""},
      {"never answers", Server::kSilent, "", 0, kUpdateNoAnswer, kNoAnswer, kCaption, kError, ""},
      {"endless body", Server::kEndless, "", 0, kUpdateInvalidAnswer, kInvalid, kCaption, kError, ""},
  };
}

std::string RunUpdateCheckCase(const UpdateCheckCase& c) {
  LoopbackHttpServer server(BehaviourOf(c.server), c.body);
  if (server.Port() == 0) return "no loopback server";
  const int port = c.server == Server::kRefuses ? LoopbackHttpServer::ClosedPort() : server.Port();
  IGraphicsHeadless graphics(nullptr);
  if (c.answer != 0) graphics.QueueMessageAnswer(c.answer);
  std::ostringstream out;
  Compare(out, "result", RunUpdateCheck(graphics, LoopbackServer(port)), c.result);
  if (graphics.Messages().size() != 1) {
    out << graphics.Messages().size() << " messages; ";
  } else {
    Compare(out, "text", graphics.Messages()[0].text, c.text);
    Compare(out, "caption", graphics.Messages()[0].caption, c.caption);
    Compare(out, "type", graphics.Messages()[0].type, c.type);
  }
  const std::string opened = graphics.LinksOpened().empty() ? "" : graphics.LinksOpened()[0];
  Compare(out, "link", opened, c.linkOpened);
  Compare(out, "links", graphics.LinksOpened().size(), std::size_t(c.linkOpened.empty() ? 0 : 1));
  return out.str();
}

std::string CheckUpdateRequest() {
  LoopbackHttpServer server(LoopbackHttpServer::Behaviour::kAnswer, "1200");
  IGraphicsHeadless graphics(nullptr);
  RunUpdateCheck(graphics, LoopbackServer(server.Port()));
  const std::vector<std::string> requests = server.Requests();
  if (requests.size() != 1) return std::to_string(requests.size()) + " requests";
  const std::string& request = requests[0];
  // The Internet functions send HTTP/1.1 and headers of their own; what the
  // server needs is the same from both clients.
  const bool asked = request.rfind("GET /music/version/?file=vorn HTTP/1.", 0) == 0 &&
                     request.find("\r\nUser-Agent: Vorn\r\n") != std::string::npos &&
                     request.find("\r\nAccept: */*\r\n") != std::string::npos;
  return asked ? "" : "unexpected request: " + request;
}
