// ravlen-balance: evaluate, balance, sweep or advise on trawl doors from the command
// line. Ctrl-C asks a long run to stop and print what it has done; a second Ctrl-C
// ends the process at once.
#include <csignal>
#include <iostream>

#include <unistd.h>

#include "BalanceCli.h"

namespace {

std::atomic<bool> gInterrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler may only touch a lock-free flag");

void OnInterrupt(int) { gInterrupted.store(true); }

}  // namespace

int main(int argc, char** argv)
{
  struct sigaction action = {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;  // the next Ctrl-C takes the default way out
  sigaction(SIGINT, &action, nullptr);

  TCliContext context;
  context.Cancel = &gInterrupted;
  context.ProgressBar = isatty(STDERR_FILENO) == 1;
  return RunBalanceCli(argc, argv, std::cout, std::cerr, context);
}
