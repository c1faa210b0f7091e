// The real ravlen-balance in a process of its own: Ctrl-C during a long run prints what
// is done and exits with 130, and the progress bar goes to stderr only when stderr is a
// terminal.
#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct TProcess {
  pid_t Pid = -1;
  int Out = -1;  // read end of its stdout
  int Err = -1;  // read end of its stderr (a pipe or a terminal)
};

// Starts ravlen-balance with args; stderr goes to a terminal when asked.
TProcess Start(const std::vector<std::string>& args, bool terminal)
{
  int out[2], err[2];
  EXPECT_EQ(pipe(out), 0);
  if (terminal)
    EXPECT_EQ(openpty(&err[0], &err[1], nullptr, nullptr, nullptr), 0);
  else
    EXPECT_EQ(pipe(err), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, err[0]);
  std::vector<char*> argv;
  std::string path = RAVLEN_BALANCE_PATH;
  argv.push_back(path.data());
  std::vector<std::string> copy = args;
  for (std::string& a : copy)
    argv.push_back(a.data());
  argv.push_back(nullptr);
  TProcess p;
  EXPECT_EQ(posix_spawn(&p.Pid, path.c_str(), &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  close(err[1]);
  p.Out = out[0];
  p.Err = err[0];
  return p;
}

// Everything both streams carry until the process closes them (a terminal reports EIO
// once the last writer is gone).
void ReadAll(TProcess& p, std::string& out, std::string& err)
{
  std::vector<pollfd> fds = {{p.Out, POLLIN, 0}, {p.Err, POLLIN, 0}};
  int open = 2;
  while (open > 0) {
    ASSERT_GT(poll(fds.data(), fds.size(), 60000), 0) << "no output for a minute";
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
        continue;
      char buffer[4096];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        (i == 0 ? out : err).append(buffer, n);
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
}

int ExitStatus(pid_t pid)
{
  int status = 0;
  EXPECT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(BalanceProcess, InterruptedAdviseExits130WithWhatIsDone)
{
  // The whole family takes many seconds; a second in, Ctrl-C.
  TProcess p = Start({"advise", "--area", "all", "--ballast", "all", "--bracket", "all", "--top", "3"}, false);
  sleep(1);
  ASSERT_EQ(kill(p.Pid, SIGINT), 0);
  std::string out, err;
  ReadAll(p, out, err);
  EXPECT_EQ(ExitStatus(p.Pid), 130);
  EXPECT_NE(out.find("(interrupted)"), std::string::npos) << out;
  EXPECT_NE(out.find("     1  "), std::string::npos) << "no rigging ranked:\n" << out;
  EXPECT_EQ(out.find("303750 of 303750"), std::string::npos) << out;
  // stderr: the one line saying so, and no progress bar (it is not a terminal).
  EXPECT_EQ(err.rfind("ravlen-balance: interrupted after ", 0), 0u) << err;
  EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
  EXPECT_EQ(err.find('%'), std::string::npos) << err;
}

TEST(BalanceProcess, ProgressBarOnlyOnATerminal)
{
  const std::vector<std::string> args = {"sweep", "--vary", "speed=1:4:0.01"};
  std::string out, err;
  TProcess piped = Start(args, false);
  ReadAll(piped, out, err);
  EXPECT_EQ(ExitStatus(piped.Pid), 0);
  EXPECT_TRUE(err.empty()) << err;
  const std::string results = out;

  out.clear();
  err.clear();
  TProcess tty = Start(args, true);
  ReadAll(tty, out, err);
  EXPECT_EQ(ExitStatus(tty.Pid), 0);
  EXPECT_NE(err.find("100% ["), std::string::npos) << err;
  EXPECT_NE(err.find("cases"), std::string::npos) << err;
  EXPECT_EQ(out, results);  // stdout carries the results and nothing else
}

}  // namespace
