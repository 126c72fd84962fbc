#include "product/update/update_check.h"

#include <gtest/gtest.h>

#include <string>

#include "editor/platform/igraphics_headless.h"
#include "tests/product/loopback_http_server.h"

namespace {

using Behaviour = LoopbackHttpServer::Behaviour;

constexpr const char* kCaption = "Check Online for Update";
constexpr const char* kUpToDate = "Your version is up to date.";
constexpr const char* kNoAnswer = "An error occurred while contacting test.example.";
constexpr const char* kInvalid = "Invalid call to test.example.";

UpdateServer LoopbackServer(int port) {
  UpdateServer server;
  server.host = "127.0.0.1";
  server.port = port;
  server.object = "music/version/?file=vorn";
  server.domain = "test.example";
  server.webAddress = "www.test.example";
  server.downloadPage = "http://www.test.example/vorn/";
  server.timeoutMilliseconds = 400;
  return server;
}

std::string NewVersionQuestion(const std::string& version) {
  return "A new version of Vorn is available.\n\n\tYour version: \t1.2.0\n\tNew version: \t" + version +
         "\n\nDo you want to go to www.test.example to get the new version?";
}

struct Case {
  const char* what;
  Behaviour behaviour;
  std::string body;
  int result;
  std::string text;
  std::string caption;
  int type;
};

TEST(UpdateCheck, AnswersOfTheServer) {
  const std::string newCaption = "New Version of Vorn Detected";
  const Case cases[] = {
      {"same version", Behaviour::kAnswer, "1200", kUpdateCompared, kUpToDate, kCaption, 64},
      {"older version", Behaviour::kAnswer, "1100", kUpdateCompared, kUpToDate, kCaption, 64},
      {"third part", Behaviour::kAnswer, "1201", kUpdateCompared, NewVersionQuestion("1.2.1"), newCaption, 4},
      {"two-digit third part", Behaviour::kAnswer, "1210", kUpdateCompared, NewVersionQuestion("1.2.10"), newCaption, 4},
      {"minor", Behaviour::kAnswer, "1300", kUpdateCompared, NewVersionQuestion("1.3.0"), newCaption, 4},
      {"major", Behaviour::kAnswer, "2000", kUpdateCompared, NewVersionQuestion("2.0.0"), newCaption, 4},
      {"line end kept as received", Behaviour::kAnswer, "1300\r\n", kUpdateCompared,
       NewVersionQuestion("1.3.0\r\n"), newCaption, 4},
      {"an HTML page", Behaviour::kAnswer, "<html><body>404</body></html>", kUpdateInvalidAnswer, kInvalid, kCaption,
       16},
      {"not a number", Behaviour::kAnswer, "latest", kUpdateCompared, kUpToDate, kCaption, 64},
      {"empty body", Behaviour::kAnswer, "", kUpdateNoAnswer, kNoAnswer, kCaption, 16},
      {"never answers", Behaviour::kSilent, "", kUpdateNoAnswer, kNoAnswer, kCaption, 16},
      {"endless body", Behaviour::kEndlessBody, "", kUpdateInvalidAnswer, kInvalid, kCaption, 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LoopbackHttpServer server(c.behaviour, c.body);
    ASSERT_NE(server.Port(), 0);
    IGraphicsHeadless graphics(nullptr);
    EXPECT_EQ(RunUpdateCheck(graphics, LoopbackServer(server.Port())), c.result);
    ASSERT_EQ(graphics.Messages().size(), 1u);
    EXPECT_EQ(graphics.Messages()[0].text, c.text);
    EXPECT_EQ(graphics.Messages()[0].caption, c.caption);
    EXPECT_EQ(graphics.Messages()[0].type, c.type);
    // Unanswered questions answer No: nothing is opened.
    EXPECT_TRUE(graphics.LinksOpened().empty());
  }
}

TEST(UpdateCheck, RequestIsTheDocumentedGet) {
  LoopbackHttpServer server(Behaviour::kAnswer, "1200");
  IGraphicsHeadless graphics(nullptr);
  RunUpdateCheck(graphics, LoopbackServer(server.Port()));
  ASSERT_EQ(server.Requests().size(), 1u);
  const std::string request = server.Requests()[0];
  EXPECT_EQ(request.rfind("GET /music/version/?file=vorn HTTP/1.0\r\n", 0), 0u) << request;
  EXPECT_NE(request.find("\r\nUser-Agent: Vorn\r\n"), std::string::npos);
  EXPECT_NE(request.find("\r\nAccept: */*\r\n"), std::string::npos);
}

TEST(UpdateCheck, RefusedConnectionIsNoAnswer) {
  IGraphicsHeadless graphics(nullptr);
  EXPECT_EQ(RunUpdateCheck(graphics, LoopbackServer(LoopbackHttpServer::ClosedPort())), kUpdateNoAnswer);
  ASSERT_EQ(graphics.Messages().size(), 1u);
  EXPECT_EQ(graphics.Messages()[0].text, kNoAnswer);
}

TEST(UpdateCheck, YesOpensTheDownloadPage) {
  LoopbackHttpServer server(Behaviour::kAnswer, "1300");
  IGraphicsHeadless graphics(nullptr);
  graphics.QueueMessageAnswer(IGraphics::kAnswerYes);
  EXPECT_EQ(RunUpdateCheck(graphics, LoopbackServer(server.Port())), kUpdateCompared);
  ASSERT_EQ(graphics.LinksOpened().size(), 1u);
  EXPECT_EQ(graphics.LinksOpened()[0], "http://www.test.example/vorn/");
}

TEST(UpdateCheck, ShippedServerIsTheConfiguredOne) {
  const UpdateServer server = ConfiguredUpdateServer();
  EXPECT_EQ(server.port, 80);
  EXPECT_EQ(server.object, "music/version/?file=vorn");
  EXPECT_FALSE(server.host.empty());
  EXPECT_NE(server.host, "127.0.0.1");
  EXPECT_NE(server.webAddress.find(server.domain), std::string::npos);
}

}  // namespace
