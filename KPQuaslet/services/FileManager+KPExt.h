// File: KPQuaslet/services/FileManager+KPExt.h
//
// File, folder and disk sizes, and emptying a folder.
//
//   kp::fileSizeAtPath("/tmp/a.bin");              // bytes, as float
//   kp::folderSizeAtPath("/tmp/dir");              // megabytes of the immediate entries
//   kp::getFolderSizeWithPath(fm, "/tmp/dir");     // megabytes of everything below
//   kp::diskOfFreeSizeMBytes();                    // in units of 1024^3 bytes
//
// Every operation works synchronously through the shared file manager, whatever
// receiver is passed. A child path is written as parent + "/" + name.
#pragma once

#include <string>

#include "platform/foundation/FileManager.h"

namespace kp {

// The user's Documents folder: the first one the system's search names. Stops the
// process with a message when the search names none (there is no home folder), rather
// than answer a path that is not there.
[[nodiscard]] std::string documentsDirectory();

// fileSizeAtPath()
//
// The entry's size in bytes, or 0 when nothing is there or its attributes cannot be read.
[[nodiscard]] float fileSizeAtPath(const std::string& path);

// folderSizeAtPath()
//
// The sizes of the folder's immediate entries added up (a subfolder counts the size of
// its own entry), in megabytes of 1 048 576 bytes. Prints the byte total (as in
// "2048.0") when something exists at `path`; 0 without output for an empty or missing
// path; a folder that cannot be listed totals 0.
[[nodiscard]] float folderSizeAtPath(const std::string& path);

// The size of the volume that holds the home folder, in units of 1024^3 bytes; 0 after
// printing "error: " and the reason when it cannot be read.
[[nodiscard]] double diskOfAllSizeMBytes();
// The free space of that volume, in the same units and with the same failure.
[[nodiscard]] double diskOfFreeSizeMBytes();

// getFileSizeWithPath()
//
// The entry's size in megabytes of 1 048 576 bytes; 0 when absent or unreadable.
[[nodiscard]] double getFileSizeWithPath(ios::FileManager& fileManager, const std::string& path);

// getFolderSizeWithPath()
//
// The sizes of every entry below the folder (files and folder entries, recursively),
// in megabytes; 0 when nothing is there or it is not a folder that can be listed.
[[nodiscard]] double getFolderSizeWithPath(ios::FileManager& fileManager, const std::string& path);

// clearFolderWithPath()
//
// Removes everything inside the folder, keeping the folder. False when nothing is
// there, when it cannot be listed, or when an entry could not be removed (entries that
// vanished with their folder do not count as failures).
bool clearFolderWithPath(ios::FileManager& fileManager, const std::string& path);

}  // namespace kp
