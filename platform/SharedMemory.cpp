// POSIX shared memory. The object is created with O_EXCL so that "already exists" is
// the system's answer, not a guess, and with mode 0600 whatever the umask says. The
// shared-memory folder is every user's, so an object is only used when its owner is us.
#include "SharedMemory.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t kOwnerOnly = S_IRUSR | S_IWUSR;

bool SameObject(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

TShmStatus TPosixSharedMemory::Fail(const std::string& what)
{
  const int error = errno;
  FError = what + " " + FName + ": " + std::strerror(error);
  return TShmStatus::Failed;
}

TShmStatus TPosixSharedMemory::Open(const std::string& name)
{
  Close();
  FName = name;
  FFd = ::shm_open(name.c_str(), O_RDWR | O_CLOEXEC, 0);
  if (FFd < 0) {
    const int error = errno;
    if (error == ENOENT)
      return TShmStatus::NotFound;
    const TShmStatus status = Fail("cannot open");
    // This user's objects are made readable and writable by this user.
    return error == EACCES ? TShmStatus::Foreign : status;
  }
  // Whoever made the object can read what is written into it and write what is read.
  struct stat info{};
  if (::fstat(FFd, &info) != 0 || info.st_uid != ::getuid()) {
    FError = FName + (info.st_uid != ::getuid() ? " belongs to user " + std::to_string(info.st_uid)
                                                : std::string(": cannot inspect"));
    ::close(FFd);
    FFd = -1;
    return TShmStatus::Foreign;
  }
  return TShmStatus::Ok;
}

TShmStatus TPosixSharedMemory::Create(const std::string& name, std::size_t size)
{
  Close();
  FName = name;
  FFd = ::shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, kOwnerOnly);
  if (FFd < 0)
    return errno == EEXIST ? TShmStatus::AlreadyExists : Fail("cannot create");
  if (::fchmod(FFd, kOwnerOnly) != 0 || ::ftruncate(FFd, static_cast<off_t>(size)) != 0) {
    const TShmStatus status = Fail("cannot size");
    ::shm_unlink(name.c_str());
    ::close(FFd);
    FFd = -1;
    return status;
  }
  return TShmStatus::Ok;
}

unsigned char* TPosixSharedMemory::Map(std::size_t size)
{
  if (FFd < 0 || FView)
    return nullptr;
  // Touching bytes beyond the end of a smaller object would kill the process (SIGBUS).
  struct stat info{};
  if (::fstat(FFd, &info) != 0) {
    Fail("cannot inspect");
    return nullptr;
  }
  if (info.st_size < static_cast<off_t>(size)) {
    FError = FName + " holds " + std::to_string(info.st_size) + " bytes, fewer than " + std::to_string(size);
    return nullptr;
  }
  void* view = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, FFd, 0);
  if (view == MAP_FAILED) {
    Fail("cannot map");
    return nullptr;
  }
  FView = static_cast<unsigned char*>(view);
  FViewSize = size;
  return FView;
}

bool TPosixSharedMemory::Unlink()
{
  if (FFd < 0)
    return false;
  // The name may have been taken over by another copy since this one opened it.
  struct stat held{}, named{};
  const int probe = ::shm_open(FName.c_str(), O_RDONLY | O_CLOEXEC, 0);
  if (probe < 0)
    return false;
  const bool same = ::fstat(FFd, &held) == 0 && ::fstat(probe, &named) == 0 && SameObject(held, named);
  ::close(probe);
  return same && ::shm_unlink(FName.c_str()) == 0;
}

void TPosixSharedMemory::Close()
{
  if (FView)
    ::munmap(FView, FViewSize);
  FView = nullptr;
  FViewSize = 0;
  if (FFd >= 0)
    ::close(FFd);
  FFd = -1;
}
