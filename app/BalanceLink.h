/* The balance link of Ravlen, for client programs: the layout of the shared block, the
 * two message names and numbers, the wire format of the message ports and the encoding
 * of the 80-bit reals. Plain C (C99 and later) and C++; a client in another language
 * can be written from this text alone.
 *
 * WHAT THE LINK DOES
 *
 * A running ravlen balances a trawl door for another program on the same machine and
 * for the same user. The client writes the towing conditions into a shared-memory block,
 * asks the program's main window to balance, and reads the balanced attitude, the
 * remaining moments, the forces and three points back from the block.
 *
 * THE SHARED BLOCK
 *
 * A POSIX shared-memory object of the user's own, named "/BalancingOfOtterboard-<uid>"
 * with the user id in decimal (on Linux the file /dev/shm/BalancingOfOtterboard-1000 for
 * user 1000; BalanceLinkBlockName below builds the name), 408 bytes, mode 0600, created by
 * the user's first running copy of the program. Every user has a link of his own, as
 * named objects live in the user's session on the platform the link comes from.
 * Open it with shm_open(name, O_RDWR, 0), then check with fstat that it belongs to you
 * (st_uid == getuid()) and holds at least 408 bytes before you trust or touch it: the
 * shared-memory folder is every user's, and another user may have made an object of that
 * name. Map the 408 bytes with mmap(PROT_READ | PROT_WRITE, MAP_SHARED). The block has no
 * lock: clients must not issue overlapping requests.
 *
 *   offset  size  field              unit       written by
 *   0       4     MainWindow         handle     program: its main window, 0 once closed
 *   4       4     CallerWindow       handle     client: where the asynchronous completion goes
 *   8       16    TrawlSpeed         m/s        client (the program at start-up)
 *   24      16    TrawlResistance    N          client (the program at start-up)
 *   40      16    WaterDensity       kg/m^3     client (the program at start-up)
 *   56      16    WarpAngleOnPlan    rad        client (the program at start-up)
 *   72      16    WarpAngleOnSide    rad        client (the program at start-up)
 *   88      16    BridleAngleOnPlan  rad        client (the program at start-up)
 *   104     16    BridleAngleOnSide  rad        client (the program at start-up)
 *   120     16    AttitudeX          rad        program: balanced rotation about x
 *   136     16    AttitudeY          rad        program: about y
 *   152     16    AttitudeZ          rad        program: about z
 *   168     16    MomentX            N*m        program: remaining moment about x
 *   184     16    MomentY            N*m        program: about y (sign reversed, as the
 *                                               solver uses it)
 *   200     16    MomentZ            N*m        program: about z
 *   216     16    ForceX             N          program: resistance of the door
 *   232     16    ForceY             N          program: spreading force
 *   248     16    ForceZ             N          program: vertical force
 *   264     48    PairUpperX, Y, Z   m          program: upper point of the bracket pair
 *   312     48    PairLowerX, Y, Z   m          program: lower point of the bracket pair
 *   360     48    TowPointX, Y, Z    m          program: the towing point
 *
 * Points and forces are in the flow frame: x downstream toward the trawl, y toward the
 * spreading side, z up. A handle is an unsigned 32-bit little-endian number, never 0 for
 * a window. The program writes the input slots once, at its first showing, with the
 * values of its edits; later it only reads them. It writes offsets 120 to 407 at the end
 * of every balance run, whoever started it, so the block always holds the latest run.
 *
 * REALS
 *
 * Every real is an x87 80-bit extended-precision number in the first 10 bytes of a
 * 16-byte slot; bytes 10 to 15 are never read by the program (it writes zeros there).
 *   bytes 0..7  significand, little-endian, with an explicit integer bit (bit 63);
 *   bytes 8..9  little-endian 16-bit word: bits 0..14 the exponent biased by 16383,
 *               bit 15 the sign.
 * For a biased exponent e of 1..32766 the value is (-1)^sign * significand * 2^(e-16383-63)
 * and the integer bit must be set (a clear one reads as NaN). For e = 0 the value is
 * significand * 2^(-16382-63): zero when the significand is 0, subnormal otherwise.
 * e = 32767 is infinity when bits 0..62 of the significand are 0, NaN otherwise; the
 * program writes infinity with the significand 0x8000000000000000 and NaN with
 * 0xC000000000000000. Examples (bytes 0..9 in hexadecimal):
 *   1.0        00 00 00 00 00 00 00 80 ff 3f
 *   -2.0       00 00 00 00 00 00 00 80 00 c0
 *   pi         35 c2 68 21 a2 da 0f c9 00 40
 *   +infinity  00 00 00 00 00 00 00 80 ff 7f
 * BalanceLinkPutReal and BalanceLinkGetReal below convert from and to a C double.
 *
 * MESSAGES
 *
 * Two registered messages, "Zozerazid Edezideduv: SyncBalance" and
 * "Zozerazid Edezideduv: AsynBalance". A registered message number is
 * 0xC000 + FNV1a32(name) % 0x4000, FNV-1a over the name's UTF-8 bytes (offset basis
 * 2166136261, prime 16777619, 32-bit arithmetic): 0xE2B5 and 0xFA29.
 *
 * MESSAGE PORTS
 *
 * Every window that receives messages listens on a Unix stream socket, mode 0600, at
 *   <runtime>/ravlen-hwnd-<handle>
 * where <runtime> is $XDG_RUNTIME_DIR, or, when that is unset or empty, the folder
 * /tmp/ravlen-<uid> (BalanceLinkPortFolder below). The program makes that folder with
 * mode 0700 when it is missing. <handle> is the handle in decimal, unsigned, without
 * leading zeros. Before you connect, check that <runtime> is a folder that belongs to
 * you and that group and others have no access to (mode & 077 == 0): stat for
 * $XDG_RUNTIME_DIR, lstat for /tmp/ravlen-<uid>, which must not be a symbolic link; and
 * check with lstat that the socket is a socket that belongs to you. After connecting, check with getsockopt(SO_PEERCRED) that the program at the other
 * end runs as you. The program answers no other user's connection. When your own port
 * is in /tmp/ravlen-<uid>, make the folder the same way: mkdir(path, 0700), then the
 * checks above. A window is running ("served") when a connection to its socket succeeds.
 * One connection carries one request:
 *   request, 20 bytes, little-endian: u32 message, i64 wParam, i64 lParam
 *   reply,    8 bytes, little-endian: i64 result
 * To send, connect, write the request and read the 8-byte reply: it arrives when the
 * window has handled the message. To post, connect, write the request and close
 * without waiting. Write the request at once: the window hangs up on a connection that
 * has not sent its 20 bytes within a second. Link clients set wParam and lParam to 0;
 * the reply to both link messages is 0. The window handles a request from its event
 * loop; a request arriving while a balance run is in progress is handled inside that run.
 *
 * A SYNCHRONOUS REQUEST
 *
 * 1. Open and map the block; read MainWindow. 0 means the program has closed; a window
 *    that is not served means the program is gone (the block was left behind by a crash
 *    and the next copy to start takes it over).
 * 2. Write the seven input slots (or leave some as they are).
 * 3. Send SyncBalance (0xE2B5) to MainWindow. When the reply arrives the run is over:
 *    read offsets 120 to 407.
 *
 * AN ASYNCHRONOUS REQUEST
 *
 * 1. As above, and listen on your own message port with a handle of your own (a
 *    non-zero number no running window uses; your process id is a good choice).
 * 2. Write your handle into CallerWindow and the inputs into their slots.
 * 3. Post AsynBalance (0xFA29) to MainWindow.
 * 4. When the run is over, the program posts AsynBalance, wParam 0, lParam 0, to
 *    CallerWindow: a 20-byte request arrives at your port (the program does not wait for
 *    a reply). Then read offsets 120 to 407. If CallerWindow is not served the
 *    completion is lost; the results are in the block all the same.
 *
 * WHAT THE PROGRAM DOES WITH A REQUEST
 *
 * It puts the seven inputs into its edits in the order of the table. Each edit checks
 * its range: a value outside it is replaced by the edit's default and the program shows
 * the edit's range message to its user; the run uses the corrected value, which is not
 * written back into the block. The ranges: TrawlSpeed 0.1..10 m/s (default 2),
 * TrawlResistance 100..10000000 N (100000), WaterDensity 800..1100 kg/m^3 (1030), the four
 * angles strictly between -pi/2 and pi/2 (0). Then it balances the door as its Balance
 * command does, from the attitude the door has, for at most 10000 steps; a run that does
 * not converge ends there without a message, and the remaining moments tell.
 *
 * WHEN THE PROGRAM CLOSES
 *
 * It writes MainWindow = 0 and removes the name; a client that still maps the block
 * keeps a valid view until it unmaps it. A second copy of the program started by the
 * same user while the first one runs shows an error and works without the link, leaving
 * the block alone. An object of the block's name that belongs to another user is never
 * used: the program reports it and works without the link.
 */
#ifndef RAVLEN_BALANCE_LINK_H
#define RAVLEN_BALANCE_LINK_H

#include <math.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

/* The block's name is this prefix followed by the user id in decimal. */
#define BALANCE_LINK_BLOCK_NAME_PREFIX "/BalancingOfOtterboard-"
/* Room for the block's name with any 32-bit user id and its terminating zero. */
#define BALANCE_LINK_BLOCK_NAME_SIZE 40
/* The fall-back folder of the message ports is this prefix followed by the user id. */
#define BALANCE_LINK_PORT_FOLDER_PREFIX "/tmp/ravlen-"
#define BALANCE_LINK_BLOCK_SIZE 408
#define BALANCE_LINK_SYNC_BALANCE_NAME "Zozerazid Edezideduv: SyncBalance"
#define BALANCE_LINK_ASYN_BALANCE_NAME "Zozerazid Edezideduv: AsynBalance"
#define BALANCE_LINK_SYNC_BALANCE_MSG 0xE2B5u
#define BALANCE_LINK_ASYN_BALANCE_MSG 0xFA29u
#define BALANCE_LINK_PORT_PREFIX "ravlen-hwnd-"
#define BALANCE_LINK_REQUEST_SIZE 20
#define BALANCE_LINK_REPLY_SIZE 8
#define BALANCE_LINK_REAL_SLOT 16
#define BALANCE_LINK_REAL_BYTES 10

/* Byte offsets of the fields. */
#define BALANCE_LINK_MAIN_WINDOW 0
#define BALANCE_LINK_CALLER_WINDOW 4
#define BALANCE_LINK_TRAWL_SPEED 8
#define BALANCE_LINK_TRAWL_RESISTANCE 24
#define BALANCE_LINK_WATER_DENSITY 40
#define BALANCE_LINK_WARP_ANGLE_ON_PLAN 56
#define BALANCE_LINK_WARP_ANGLE_ON_SIDE 72
#define BALANCE_LINK_BRIDLE_ANGLE_ON_PLAN 88
#define BALANCE_LINK_BRIDLE_ANGLE_ON_SIDE 104
#define BALANCE_LINK_ATTITUDE_X 120
#define BALANCE_LINK_ATTITUDE_Y 136
#define BALANCE_LINK_ATTITUDE_Z 152
#define BALANCE_LINK_MOMENT_X 168
#define BALANCE_LINK_MOMENT_Y 184
#define BALANCE_LINK_MOMENT_Z 200
#define BALANCE_LINK_FORCE_X 216
#define BALANCE_LINK_FORCE_Y 232
#define BALANCE_LINK_FORCE_Z 248
#define BALANCE_LINK_PAIR_UPPER_X 264
#define BALANCE_LINK_PAIR_UPPER_Y 280
#define BALANCE_LINK_PAIR_UPPER_Z 296
#define BALANCE_LINK_PAIR_LOWER_X 312
#define BALANCE_LINK_PAIR_LOWER_Y 328
#define BALANCE_LINK_PAIR_LOWER_Z 344
#define BALANCE_LINK_TOW_POINT_X 360
#define BALANCE_LINK_TOW_POINT_Y 376
#define BALANCE_LINK_TOW_POINT_Z 392
/* The results: offsets 120 to 407. */
#define BALANCE_LINK_FIRST_RESULT BALANCE_LINK_ATTITUDE_X

/* The block as bytes: every field is kept in its encoded form, so the record has no
 * padding and may be laid over the mapped view on any machine. */
typedef struct TBalanceBlock {
  unsigned char MainWindow[4];
  unsigned char CallerWindow[4];
  unsigned char TrawlSpeed[16];
  unsigned char TrawlResistance[16];
  unsigned char WaterDensity[16];
  unsigned char WarpAngleOnPlan[16];
  unsigned char WarpAngleOnSide[16];
  unsigned char BridleAngleOnPlan[16];
  unsigned char BridleAngleOnSide[16];
  unsigned char AttitudeX[16];
  unsigned char AttitudeY[16];
  unsigned char AttitudeZ[16];
  unsigned char MomentX[16];
  unsigned char MomentY[16];
  unsigned char MomentZ[16];
  unsigned char ForceX[16];
  unsigned char ForceY[16];
  unsigned char ForceZ[16];
  unsigned char PairUpperX[16];
  unsigned char PairUpperY[16];
  unsigned char PairUpperZ[16];
  unsigned char PairLowerX[16];
  unsigned char PairLowerY[16];
  unsigned char PairLowerZ[16];
  unsigned char TowPointX[16];
  unsigned char TowPointY[16];
  unsigned char TowPointZ[16];
} TBalanceBlock;

#if defined(__cplusplus)
static_assert(sizeof(TBalanceBlock) == BALANCE_LINK_BLOCK_SIZE, "the block is 408 bytes");
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
_Static_assert(sizeof(TBalanceBlock) == BALANCE_LINK_BLOCK_SIZE, "the block is 408 bytes");
#endif

/* Writes the block's name for the user uid (pass getuid()) into name, which holds size
 * bytes (BALANCE_LINK_BLOCK_NAME_SIZE is enough); returns name. */
static inline char* BalanceLinkBlockName(char* name, size_t size, unsigned long uid)
{
  snprintf(name, size, BALANCE_LINK_BLOCK_NAME_PREFIX "%lu", uid);
  return name;
}

/* Writes the folder of the message ports for the user uid into folder (size bytes):
 * runtime when it is neither null nor empty (pass getenv("XDG_RUNTIME_DIR")), else
 * /tmp/ravlen-<uid>; returns folder. */
static inline char* BalanceLinkPortFolder(char* folder, size_t size, const char* runtime, unsigned long uid)
{
  if (runtime && *runtime)
    snprintf(folder, size, "%s", runtime);
  else
    snprintf(folder, size, BALANCE_LINK_PORT_FOLDER_PREFIX "%lu", uid);
  return folder;
}

/* A handle at p (4 bytes, little-endian). */
static inline uint32_t BalanceLinkGetHandle(const unsigned char* p)
{
  return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static inline void BalanceLinkPutHandle(unsigned char* p, uint32_t handle)
{
  p[0] = (unsigned char)handle;
  p[1] = (unsigned char)(handle >> 8);
  p[2] = (unsigned char)(handle >> 16);
  p[3] = (unsigned char)(handle >> 24);
}

/* Writes value into bytes 0..9 of the slot; exact, every double is an extended real. */
static inline void BalanceLinkPutReal(unsigned char* slot, double value)
{
  uint64_t significand = 0;
  unsigned exponent = 0;
  const unsigned sign = signbit(value) ? 1u : 0u;
  int i;
  if (isnan(value)) {
    exponent = 0x7FFF;
    significand = UINT64_C(0xC000000000000000);
  } else if (isinf(value)) {
    exponent = 0x7FFF;
    significand = UINT64_C(0x8000000000000000);
  } else if (value != 0) {
    int e;
    const double m = frexp(fabs(value), &e); /* |value| = m 2^e, 0.5 <= m < 1 */
    significand = (uint64_t)ldexp(m, 64);    /* the 53 bits of m, integer bit set */
    exponent = (unsigned)(e - 1 + 16383);
  }
  for (i = 0; i < 8; ++i)
    slot[i] = (unsigned char)(significand >> (8 * i));
  slot[8] = (unsigned char)(exponent & 0xFF);
  slot[9] = (unsigned char)((exponent >> 8) | (sign << 7));
}

/* The real in bytes 0..9 of the slot, rounded to a double (infinity or zero beyond the
 * double's range). */
static inline double BalanceLinkGetReal(const unsigned char* slot)
{
  uint64_t significand = 0;
  const unsigned exponent = (unsigned)slot[8] | (unsigned)(slot[9] & 0x7F) << 8;
  double magnitude;
  int i;
  for (i = 7; i >= 0; --i)
    significand = significand << 8 | slot[i];
  if (exponent == 0x7FFF)
    magnitude = (significand << 1) == 0 ? INFINITY : NAN;
  else if (exponent != 0 && (significand >> 63) == 0)
    magnitude = NAN;
  else
    magnitude = ldexp((double)significand, (exponent == 0 ? 1 : (int)exponent) - 16383 - 63);
  return (slot[9] & 0x80) ? -magnitude : magnitude;
}

#endif /* RAVLEN_BALANCE_LINK_H */
