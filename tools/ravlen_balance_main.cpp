// ravlen-balance: evaluate or balance one trawl door from the command line.
#include <iostream>

#include "BalanceCli.h"

int main(int argc, char** argv) { return RunBalanceCli(argc, argv, std::cout, std::cerr); }
