/* A client of the balance link written in plain C from app/BalanceLink.h alone, as a
 * program in another language would be: it maps the user's block, checks that the block,
 * the port folder, the socket and the program answering on it are the user's own, writes
 * the seven inputs (SI units and radians), sends or posts the request, and prints the
 * results as JSON.
 *
 *   link_c_client sync|async SPEED RESISTANCE DENSITY WARP_PLAN WARP_SIDE BRIDLE_PLAN BRIDLE_SIDE
 *
 * Exit status 3 when no program of this user serves the block, 1 on any other failure. */
#define _GNU_SOURCE /* SO_PEERCRED and struct ucred, besides POSIX */

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/BalanceLink.h"

enum { kNoProgram = 3, kFailed = 1, kCompletionWaitMs = 60000 };

/* Whether path is a folder of ours that nobody else may enter; a link is followed only
 * when follow is set (the runtime folder the user named). */
static int IsPrivateFolder(const char* path, int follow)
{
  struct stat info;
  return (follow ? stat(path, &info) : lstat(path, &info)) == 0 && S_ISDIR(info.st_mode) &&
         info.st_uid == getuid() && (info.st_mode & 077) == 0;
}

/* The folder of the message ports; with create, the fall-back folder is made first.
 * Empty when it is not ours alone. */
static void PortFolder(char* folder, size_t size, int create)
{
  const char* runtime = getenv("XDG_RUNTIME_DIR");
  BalanceLinkPortFolder(folder, size, runtime, (unsigned long)getuid());
  const int fallBack = !(runtime && *runtime);
  if (create && fallBack)
    mkdir(folder, 0700);
  if (!IsPrivateFolder(folder, !fallBack))
    folder[0] = '\0';
}

static int PortAddress(uint32_t handle, struct sockaddr_un* address, int create)
{
  char folder[sizeof address->sun_path];
  PortFolder(folder, sizeof folder, create);
  memset(address, 0, sizeof *address);
  address->sun_family = AF_UNIX;
  snprintf(address->sun_path, sizeof address->sun_path, "%s/" BALANCE_LINK_PORT_PREFIX "%u", folder, handle);
  return folder[0] != '\0';
}

/* The peer of a connected socket runs as this user. */
static int PeerIsUs(int fd)
{
  struct ucred peer;
  socklen_t size = sizeof peer;
  return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == getuid();
}

static int ConnectWindow(uint32_t handle)
{
  struct sockaddr_un address;
  struct stat info;
  int fd;
  if (!PortAddress(handle, &address, 0) || lstat(address.sun_path, &info) != 0 || !S_ISSOCK(info.st_mode) ||
      info.st_uid != getuid())
    return -1;
  fd = socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd >= 0 && connect(fd, (const struct sockaddr*)&address, sizeof address) == 0 && PeerIsUs(fd))
    return fd;
  if (fd >= 0)
    close(fd);
  return -1;
}

static int Transfer(int fd, unsigned char* bytes, size_t count, int writing)
{
  while (count > 0) {
    const ssize_t done = writing ? write(fd, bytes, count) : read(fd, bytes, count);
    if (done < 0 && errno == EINTR)
      continue;
    if (done <= 0)
      return 0;
    bytes += done;
    count -= (size_t)done;
  }
  return 1;
}

static void Request(unsigned char* request, uint32_t message)
{
  memset(request, 0, BALANCE_LINK_REQUEST_SIZE);
  BalanceLinkPutHandle(request, message); /* the same 32-bit little-endian form */
}

static void PrintVector(const char* key, const unsigned char* x, const unsigned char* y, const unsigned char* z,
                        double divisor, const char* end)
{
  printf("  \"%s\": [%.17g, %.17g, %.17g]%s\n", key, BalanceLinkGetReal(x) / divisor, BalanceLinkGetReal(y) / divisor,
         BalanceLinkGetReal(z) / divisor, end);
}

int main(int argc, char** argv)
{
  char ownName[BALANCE_LINK_BLOCK_NAME_SIZE];
  const char* name = getenv("RAVLEN_LINK_BLOCK") ? getenv("RAVLEN_LINK_BLOCK")
                                                 : BalanceLinkBlockName(ownName, sizeof ownName, (unsigned long)getuid());
  unsigned char* slots[7];
  unsigned char request[BALANCE_LINK_REQUEST_SIZE];
  struct stat info;
  TBalanceBlock* block;
  uint32_t window;
  int async, fd, i;

  if (argc != 9 || (strcmp(argv[1], "sync") != 0 && strcmp(argv[1], "async") != 0)) {
    fprintf(stderr, "usage: link_c_client sync|async SPEED RESISTANCE DENSITY WP WS BP BS\n");
    return 2;
  }
  async = strcmp(argv[1], "async") == 0;

  fd = shm_open(name, O_RDWR, 0);
  if (fd < 0 || fstat(fd, &info) != 0 || info.st_uid != getuid() || info.st_size < BALANCE_LINK_BLOCK_SIZE)
    return kNoProgram;
  block = mmap(NULL, BALANCE_LINK_BLOCK_SIZE, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  close(fd);
  if (block == MAP_FAILED)
    return kFailed;
  window = BalanceLinkGetHandle(block->MainWindow);
  if (window == 0)
    return kNoProgram;

  slots[0] = block->TrawlSpeed;
  slots[1] = block->TrawlResistance;
  slots[2] = block->WaterDensity;
  slots[3] = block->WarpAngleOnPlan;
  slots[4] = block->WarpAngleOnSide;
  slots[5] = block->BridleAngleOnPlan;
  slots[6] = block->BridleAngleOnSide;
  for (i = 0; i < 7; ++i)
    BalanceLinkPutReal(slots[i], strtod(argv[2 + i], NULL));

  if (!async) {
    unsigned char reply[BALANCE_LINK_REPLY_SIZE];
    fd = ConnectWindow(window);
    if (fd < 0)
      return kNoProgram;
    Request(request, BALANCE_LINK_SYNC_BALANCE_MSG);
    if (!Transfer(fd, request, sizeof request, 1) || !Transfer(fd, reply, sizeof reply, 0))
      return kNoProgram;
    close(fd);
  } else {
    /* Our own port first, so that the completion has somewhere to go. */
    const uint32_t self = (uint32_t)getpid();
    struct sockaddr_un address;
    struct pollfd wait;
    int listener = socket(AF_UNIX, SOCK_STREAM, 0), client;
    if (!PortAddress(self, &address, 1))
      return kFailed;
    unlink(address.sun_path);
    if (listener < 0 || bind(listener, (const struct sockaddr*)&address, sizeof address) != 0 ||
        chmod(address.sun_path, 0600) != 0 || listen(listener, 8) != 0)
      return kFailed;
    BalanceLinkPutHandle(block->CallerWindow, self);
    fd = ConnectWindow(window);
    if (fd < 0)
      return kNoProgram;
    Request(request, BALANCE_LINK_ASYN_BALANCE_MSG);
    if (!Transfer(fd, request, sizeof request, 1))
      return kNoProgram;
    close(fd); /* posted: no reply awaited */
    for (;;) {
      wait.fd = listener;
      wait.events = POLLIN;
      if (poll(&wait, 1, kCompletionWaitMs) != 1)
        return kNoProgram;
      client = accept(listener, NULL, NULL);
      if (client < 0)
        continue;
      i = Transfer(client, request, sizeof request, 0);
      close(client);
      if (i && BalanceLinkGetHandle(request) == BALANCE_LINK_ASYN_BALANCE_MSG)
        break;
    }
    close(listener);
    unlink(address.sun_path);
  }

  printf("{\n");
  PrintVector("attitude_deg", block->AttitudeX, block->AttitudeY, block->AttitudeZ, 0.017453292519943295, ",");
  PrintVector("moment_Nm", block->MomentX, block->MomentY, block->MomentZ, 1, ",");
  PrintVector("force_N", block->ForceX, block->ForceY, block->ForceZ, 1, ",");
  PrintVector("tow_point_m", block->TowPointX, block->TowPointY, block->TowPointZ, 1, ",");
  PrintVector("pair_upper_m", block->PairUpperX, block->PairUpperY, block->PairUpperZ, 1, ",");
  PrintVector("pair_lower_m", block->PairLowerX, block->PairLowerY, block->PairLowerZ, 1, "");
  printf("}\n");
  munmap(block, BALANCE_LINK_BLOCK_SIZE);
  return 0;
}
