// ravlen-link: a client of the balance link. Writes the towing conditions given on the
// command line into the shared block of a running ravlen, sends or posts the balance
// request and prints the balanced attitude, moments, forces and points.
#pragma once

#include <iosfwd>

// Runs the command line args[1..argc-1]; returns the exit status: 0, 1 when this
// client cannot receive the asynchronous completion, 2 for a usage error (one line on
// err), 3 when no running program serves the link or it went away before answering.
// A QCoreApplication must exist for --async.
int RunLinkCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
