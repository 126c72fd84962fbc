// The editor's eight images, carried inside the plug-in library.
#pragma once

// Makes the images findable by resource id (101 to 108) for the bitmap
// cache. On Windows the library's "PNG" resources already are, and this does
// nothing; elsewhere it registers the linked-in bytes with the raster layer.
// Safe to call more than once, from any thread.
void RegisterEditorImages();
