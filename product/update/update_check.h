// "Check Online for Update": asks the update server for the newest version,
// compares it with this one and tells the user through the editor's message
// boxes, offering the download page when a newer version exists. Runs on the
// editor's thread and blocks it until the answer or a time-out; takes no lock
// of the plug-in.
#pragma once

#include "product/update/update_server.h"

class IGraphics;

// Results: the version was compared, no answer, the answer could not be
// turned into texts, the answer was not a version.
constexpr int kUpdateCompared = 0;
constexpr int kUpdateNoAnswer = -1;
constexpr int kUpdateProcessingFailed = -2;
constexpr int kUpdateInvalidAnswer = -3;

int RunUpdateCheck(IGraphics& graphics, const UpdateServer& server);
