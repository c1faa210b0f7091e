// ravlen-link: have a running ravlen balance a door through the balance link.
#include <QCoreApplication>
#include <iostream>

#include "LinkCli.h"

int main(int argc, char** argv)
{
  QCoreApplication application(argc, argv);
  return RunLinkCli(argc, argv, std::cout, std::cerr);
}
