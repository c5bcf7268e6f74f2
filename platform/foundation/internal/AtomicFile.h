// File: platform/foundation/internal/AtomicFile.h
//
// Whole-file reads and all-or-nothing writes for the stores that keep their state in
// files (user defaults, written data), and the folder and move-aside helpers they share
// with the keychain.
//
//   std::string error;
//   foundation_internal::writeAtomically("/home/ann/x.json", bytes, 0600, &error);
//
// A write goes to a fresh temporary file beside the target (created with the requested
// permissions, so the bytes are never readable by others, not even briefly), is flushed
// and then renamed over the target: a reader sees the old file or the new one, never a
// mix. Missing parent folders are created (owner-only for 0600 files).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>

namespace ios::foundation_internal {

// The file's bytes; nothing with `error` set when it does not exist (`missing` true) or
// cannot be read.
[[nodiscard]] std::optional<std::string> readWholeFile(const std::string& path, std::string* error = nullptr,
                                                       bool* missing = nullptr);

// Replaces the file at `path` by `bytes`, atomically, with permission bits `mode`.
// False with `error` on failure; the old file is then left as it was.
bool writeAtomically(const std::string& path, std::string_view bytes, mode_t mode, std::string* error = nullptr);
// The same in a folder that exists (nothing is made). `written`, when given, receives
// the status of the new file (the one now at `path`).
bool replaceFile(const std::string& path, std::string_view bytes, mode_t mode, std::string* error = nullptr,
                 struct stat* written = nullptr);

// Creates the missing folders above `path` (owner-only when `fileMode` is, 0755
// otherwise). False with `error` when one cannot be made.
bool makeParentFolders(const std::string& path, mode_t fileMode, std::string* error);

// Moves the file to the first free "<path><suffix>", "<path><suffix>-1", ... without
// ever replacing a file there. False when it could not be moved.
bool moveAsideWithoutReplacing(const std::string& path, const std::string& suffix, std::string* movedTo = nullptr);

// Moves an unreadable file aside to the first free "<path>.corrupt", "<path>.corrupt-1",
// ... so that a new file can be written without destroying it. False when it could not
// be moved (the caller must then not overwrite it).
bool preserveUnreadableFile(const std::string& path, std::string* movedTo = nullptr);

// Reads a store's file and hands its bytes to `parse`, which throws a std::exception for
// bytes it cannot use. A missing file is an empty store, not a failure. Answers why the
// file could not be used, or nothing.
[[nodiscard]] std::optional<std::string> loadStoreFile(const std::string& path,
                                                       const std::function<void(const std::string&)>& parse);

// Writes a store's file (`bytes`, owner-only) as replaceFile() does, in its folder,
// which the caller has checked or made (a store never makes up a home folder). When
// `keepUnreadableAside` is set, the file that could not be read is first moved aside
// (and the flag cleared); when that fails nothing is written. False with `error` on
// failure; `note` tells where a kept file went; `written` as replaceFile().
bool writeStoreFile(const std::string& path, std::string_view bytes, bool& keepUnreadableAside, std::string* error,
                    std::string* note, struct stat* written = nullptr);

}  // namespace ios::foundation_internal
