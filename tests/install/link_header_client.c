/* A client of the installed link header, built with nothing but the compiler flags that
 * pkg-config gives: the header is found, compiles as plain C99 and its reals round-trip. */
#include <ravlen/BalanceLink.h>

#include <stdio.h>

int main(void)
{
  TBalanceBlock block;
  const double speed = 2.5;
  BalanceLinkPutReal(block.TrawlSpeed, speed);
  BalanceLinkPutHandle(block.MainWindow, 4242u);
  if (sizeof block != BALANCE_LINK_BLOCK_SIZE || BalanceLinkGetReal(block.TrawlSpeed) != speed ||
      BalanceLinkGetHandle(block.MainWindow) != 4242u) {
    fputs("the installed link header does not round-trip a block\n", stderr);
    return 1;
  }
  puts(BALANCE_LINK_SYNC_BALANCE_NAME);
  return 0;
}
