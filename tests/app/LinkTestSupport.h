// What the tests of the balance link between processes share: running the command-line
// tools, reading their JSON, comparing two sets of results, and the block as a client
// maps it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>

#include "link/BalanceBlock.h"
#include "platform/SharedMemory.h"

// Longest a test waits for a process or for something a process writes, ms.
inline constexpr int kProcessWaitMs = 30000;

// A finished run of a tool: its exit status (-1 when it crashed or timed out) and output.
struct TRun {
  int Status = -1;
  QByteArray Out, Err;
};

// Runs program with args to the end.
TRun RunTool(const QString& program, const QStringList& args);
// ravlen-link with args.
TRun Link(const QStringList& args);
// ravlen-balance --json for the inputs of a ravlen-link command line (its --async and
// --json are dropped; the two tools share the names and units of the input options).
TRun BalanceTool(QStringList args);
// The plain-C client: link_c_client with args.
TRun CClient(const QStringList& args);

// The vector under key in a JSON output.
std::array<double, 3> Vector(const QByteArray& json, const char* key);
// The six result vectors of two JSON outputs are equal: attitudes within
// attitudeTolerance degrees, forces and points within relative (both 0: bit for bit).
// Says on the test log which number differs.
bool SameResults(const QByteArray& a, const QByteArray& b, double attitudeTolerance, double relative);

// The block as a client maps it (null when there is none).
struct TBlockView {
  TBlockView();
  TPosixSharedMemory Memory;
  TBalanceBlock* Block = nullptr;
};
