#include "product/update/update_check.h"

#include <gtest/gtest.h>

#include "tests/product/update_check_cases.h"

namespace {

TEST(UpdateCheck, AnswersOfTheServer) {
  for (const UpdateCheckCase& c : UpdateCheckCases()) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(RunUpdateCheckCase(c), "");
  }
}

TEST(UpdateCheck, RequestIsTheDocumentedGet) { EXPECT_EQ(CheckUpdateRequest(), ""); }

TEST(UpdateCheck, ShippedServerIsTheConfiguredOne) {
  const UpdateServer server = ConfiguredUpdateServer();
  EXPECT_EQ(server.port, 80);
  EXPECT_EQ(server.object, "music/version/?file=vorn");
  EXPECT_FALSE(server.host.empty());
  EXPECT_NE(server.host, "127.0.0.1");
  EXPECT_NE(server.webAddress.find(server.domain), std::string::npos);
}

}  // namespace
