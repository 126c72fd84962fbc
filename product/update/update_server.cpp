#include "product/update/update_server.h"

#include "product/update/server_settings.h"

UpdateServer ConfiguredUpdateServer() {
  UpdateServer server;
  server.host = kUpdateHost;
  server.object = "music/version/?file=vorn";
  server.domain = kMakerDomain;
  server.webAddress = kMakerWebAddress;
  server.downloadPage = kDownloadPage;
  return server;
}

std::string MakerWebPage() { return kMakerWebPage; }

std::string MakerDomain() { return kMakerDomain; }
