// The platform's answers about where per-user files live. One implementation
// per platform (product/platform/settings_folders_<platform>.cpp).
#pragma once

#include <string>

// The folder under which per-user application settings live: the local
// application-data folder on Windows, the XDG configuration folder elsewhere.
// Empty when the platform cannot tell.
std::string UserSettingsBaseFolder();
// The user's documents folder (the home folder when none is configured).
std::string UserDocumentsFolder();
// `folder` and `name` joined by the platform's separator.
std::string JoinPath(const std::string& folder, const std::string& name);
// Creates the folder, and any missing folder above it, when it does not exist.
bool MakeFolder(const std::string& folder);
