// Private folders and the exclusive probe file, on POSIX calls: mkdir does not follow a
// link in its last component and fails on any existing name, and lstat tells what a
// name is without following it, so what is checked is what is used.
#include "PrivateFolder.h"

#include <cerrno>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t kOwnerOnly = S_IRWXU;
constexpr mode_t kOthersBits = S_IRWXG | S_IRWXO;
// Names tried by the probe before it gives up: a clash needs another file of the very
// same random name.
constexpr int kProbeAttempts = 8;

std::string Reason(const std::string& path, const char* what) { return path + ": " + what; }

}  // namespace

std::string UserFolderPath(const std::string& base)
{
  std::string folder = base;
  while (folder.size() > 1 && folder.back() == '/')
    folder.pop_back();
  return folder + "/ravlen-" + std::to_string(::getuid());
}

bool IsPrivateFolder(const std::string& path, bool followLink, std::string& error)
{
  struct stat info{};
  if ((followLink ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info)) != 0) {
    error = Reason(path, std::strerror(errno));
    return false;
  }
  if (S_ISLNK(info.st_mode))
    error = Reason(path, "is a symbolic link");
  else if (!S_ISDIR(info.st_mode))
    error = Reason(path, "is not a folder");
  else if (info.st_uid != ::getuid())
    error = Reason(path, ("belongs to user " + std::to_string(info.st_uid)).c_str());
  else if ((info.st_mode & kOthersBits) != 0)
    error = Reason(path, "may be entered by other users");
  else
    return true;
  return false;
}

bool MakePrivateFolder(const std::string& path, std::string& error)
{
  if (::mkdir(path.c_str(), kOwnerOnly) != 0 && errno != EEXIST) {
    error = Reason(path, std::strerror(errno));
    return false;
  }
  return IsPrivateFolder(path, false, error);
}

bool FolderTakesFiles(const std::string& folder)
{
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < kProbeAttempts; ++attempt) {
    const std::string name =
        folder + "/.ravlen-probe-" + std::to_string(::getpid()) + "-" + std::to_string(random() % 1000000000);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd >= 0) {
      ::close(fd);
      return ::unlink(name.c_str()) == 0;
    }
    if (errno != EEXIST)
      return false;
  }
  return false;
}

bool IsSymbolicLink(const std::string& path)
{
  struct stat info{};
  return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}
