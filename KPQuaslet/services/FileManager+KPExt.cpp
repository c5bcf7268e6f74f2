#include "KPQuaslet/services/FileManager+KPExt.h"

#include "platform/foundation/Describe.h"
#include "platform/foundation/Precondition.h"
#include "platform/foundation/StandardOutput.h"

namespace kp {
namespace {

constexpr double kMegabyte = 1024.0 * 1024.0;

ios::FileManager& files() { return ios::FileManager::defaultManager(); }

std::string childPath(const std::string& parent, const std::string& name) { return parent + "/" + name; }

double volumeFigure(std::uint64_t ios::FileSystemAttributes::*field) {
  std::string error;
  auto attributes = files().attributesOfFileSystem(ios::NSHomeDirectory(), &error);
  if (!attributes) {
    ios::print("error: " + error);
    return 0;
  }
  return static_cast<double>((*attributes).*field) / 1024 / 1024 / 1024;
}

}  // namespace

std::string documentsDirectory() {
  const auto folders = files().urls(ios::SearchPathDirectory::documentDirectory);
  KP_PRECONDITION(!folders.empty(), "documentsDirectory: the system knows no Documents folder for this user");
  return folders.front();
}

float fileSizeAtPath(const std::string& path) {
  if (!files().fileExists(path)) return 0;
  auto attributes = files().attributesOfItem(path);
  return attributes ? static_cast<float>(attributes->fileSize) : 0.0f;
}

float folderSizeAtPath(const std::string& path) {
  if (path.empty() || !files().fileExists(path)) return 0;
  float total = 0;
  if (auto names = files().contentsOfDirectory(path)) {
    for (const auto& name : *names) total += fileSizeAtPath(childPath(path, name));
  }
  ios::print(ios::describe(total));
  return total / 1048576.0f;
}

double diskOfAllSizeMBytes() { return volumeFigure(&ios::FileSystemAttributes::systemSize); }

double diskOfFreeSizeMBytes() { return volumeFigure(&ios::FileSystemAttributes::systemFreeSize); }

double getFileSizeWithPath(ios::FileManager&, const std::string& path) {
  if (!files().fileExists(path)) return 0;
  auto attributes = files().attributesOfItem(path);
  return attributes ? static_cast<double>(attributes->fileSize) / kMegabyte : 0.0;
}

double getFolderSizeWithPath(ios::FileManager& fileManager, const std::string& path) {
  if (!files().fileExists(path)) return 0;
  auto subpaths = files().subpathsOfDirectory(path);
  if (!subpaths) return 0;
  double total = 0;
  for (const auto& subpath : *subpaths) total += getFileSizeWithPath(fileManager, childPath(path, subpath));
  return total;
}

bool clearFolderWithPath(ios::FileManager&, const std::string& path) {
  if (!files().fileExists(path)) return false;
  auto subpaths = files().subpathsOfDirectory(path);
  if (!subpaths) return false;
  bool allRemoved = true;
  for (const auto& subpath : *subpaths) {
    bool missing = false;
    if (!files().removeItem(childPath(path, subpath), nullptr, &missing) && !missing) allRemoved = false;
  }
  return allRemoved;
}

}  // namespace kp
