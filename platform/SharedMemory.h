// Named shared memory: one object of the system's shared-memory namespace, opened or
// created by name, mapped, and removed by name. Unlike the handles the link was first
// built on, an object here outlives a program that crashed, so whoever removes a name
// makes sure it still names the object it holds.
#pragma once

#include <cstddef>
#include <string>

// Outcome of opening or creating an object.
enum class TShmStatus {
  Ok,             // the object is held
  NotFound,       // no object has that name
  AlreadyExists,  // creation refused: the name is taken
  Foreign,        // the object belongs to another user (or may not be opened): not ours to use
  Failed          // any other refusal; ErrorString() says why
};

// One shared-memory object at a time. Tests substitute a stand-in that fails on demand.
class TSharedMemory {
public:
  virtual ~TSharedMemory() = default;
  // Opens the existing object name ("/Name") for reading and writing; Foreign, holding
  // nothing, when it belongs to another user: such an object is never trusted.
  virtual TShmStatus Open(const std::string& name) = 0;
  // Creates name with size zero bytes, readable and writable by this user only;
  // AlreadyExists when the name is taken.
  virtual TShmStatus Create(const std::string& name, std::size_t size) = 0;
  // Maps the first size bytes of the held object for reading and writing; null when the
  // object is smaller or the mapping fails. One mapping per object; it lasts until Close.
  virtual unsigned char* Map(std::size_t size) = 0;
  // Removes the name if it still names the held object; processes that map the object
  // keep their view. False when the name was gone or names another object now.
  virtual bool Unlink() = 0;
  // Unmaps and lets go of the object; the name stays.
  virtual void Close() = 0;
  // The system's reason of the last failure.
  virtual std::string ErrorString() const = 0;
};

// POSIX shared memory: shm_open, ftruncate, mmap, shm_unlink.
class TPosixSharedMemory final : public TSharedMemory {
public:
  TPosixSharedMemory() = default;
  TPosixSharedMemory(const TPosixSharedMemory&) = delete;
  TPosixSharedMemory& operator=(const TPosixSharedMemory&) = delete;
  ~TPosixSharedMemory() override { Close(); }

  TShmStatus Open(const std::string& name) override;
  TShmStatus Create(const std::string& name, std::size_t size) override;
  unsigned char* Map(std::size_t size) override;
  bool Unlink() override;
  void Close() override;
  std::string ErrorString() const override { return FError; }

private:
  TShmStatus Fail(const std::string& what);

  int FFd = -1;
  std::string FName;
  unsigned char* FView = nullptr;
  std::size_t FViewSize = 0;
  std::string FError;
};
