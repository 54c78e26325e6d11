#pragma once

// The package strings: what the product server's package answer says about
// the install pack, the resource pack and the preload packages. Narrow text
// in the ANSI code page; sizes are decimal text, converted where used.

#include <string>

struct PackageStrings {
  std::string downloadUrl;    // URL of the install pack
  std::string fileSize;       // its size in bytes
  std::string fileVersion;    // version text of the pack; kept, not used
  std::string dirName;        // product folder appended to the install path
  std::string rcDownloadUrl;  // URL of the resource pack; empty: none
  std::string rcFileSize;     // its size in bytes
  std::string basePath;       // URL prefix of the preload packages
};

// The process-wide package strings. Written only by the package query on
// the UI thread when an answer is accepted; all start empty. Other threads
// read them only after a post from the UI thread that follows that write.
extern PackageStrings g_package;
