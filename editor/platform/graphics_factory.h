// The editor surface of this build: the platform's window layer where one
// exists, the headless surface otherwise. The product creates its editor
// through this one function; CMake picks the file that defines it.
#pragma once

class IGraphics;
class PluginBase;

IGraphics* CreatePlatformGraphics(PluginBase* plugin);
