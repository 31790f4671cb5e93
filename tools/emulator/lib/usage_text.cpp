// SPDX-License-Identifier: MIT
#include "usage_text.h"

#include "console_commands.h"

namespace kr820::emulator {

std::string UsageText(std::string_view programName) {
    std::string text = "Usage: ";
    text += programName;
    text += R"( [options]
Emulates a KR820 thermocouple meter on a pseudo-terminal. Prints the device path as the first
line, then answers the meter's commands until interrupted (SIGINT or SIGTERM) or told to quit
on standard input.

Line:
  --link PATH            also make PATH a symlink to the device (re-pointed by plug,
                         removed on exit)
  --silent               receive commands but never answer (a meter that is switched off)

Temperatures (degrees C, one decimal; the meter always reports Celsius):
  --t1 C, --t2 C         reading, default 25.3; MIN and MAX start at it (else 20.0 and 30.0)
  --t1-rel C, --t2-rel C REL reference
  --t1-min C, --t1-max C, --t2-min C, --t2-max C
                         stored MIN and MAX, whatever the order of the options
  --t1-invalid, --t2-invalid
                         no valid value: the display shows dashes

Display and annunciators:
  --mode N               0 normal, 1 MAX, 2 MIN, 3 MAX and MIN blinking
  --rel                  REL mode
  --rec-blink            REC blinking
  --recording            the meter is logging (REC steady)
  --low-battery          low battery
  --printer              printer active
  --no-auto-off          auto power-off disabled (enabled by default)
  --t2-main              T2 on the main display, T1 on the sub display
  --t1-two-decimals, --t2-two-decimals
                         decimal point before the last two digits
  --fahrenheit           the display shows degrees F
  --type-j               thermocouple type J (default K)

Over time (counted from start):
  --wave                 T1 swings +-5.0 C over 60 s, T2 +-3.0 C over 180 s, around their
                         readings; MIN and MAX follow, as the meter measures twice a second
  --out-of-range-after S from S seconds on, T2 reads 3276.7 C and is flagged invalid

Faults:
  --model-reply TEXT     answer the model query with TEXT as it stands, \xHH for any byte,
                         e.g. x820xx, or '\x02K820' for a five-byte answer
  --noise                junk (FF 55 02 AA) in front of every live frame
  --split-frames         live answers in 8-byte pieces, 5 ms apart
  --double-frames        every poll answered with two frames in one write
  --wrong-last-byte N    the first N live frames end with 0x05 instead of ETX

Logger memory (what "HEAD" and "DOWN" deliver; by default three short data sets):
  --memory FILE          a collection file (.820), sent exactly as it stands
  --generate-memory SETS data sets built from SETS: "empty" (nothing recorded), "default",
                         or sets separated by ';', each KEY=VALUE pairs separated by ',':
                           start=2024-03-14T09:30:00  rate=0..255  type=K|J  unit=C|F
                           pairs=N (default: enough for the values, else 10)
                           values=V/V/... T1,T2,T1,T2... in degrees C, OL or UL for out of
                           range; repeated until every pair is filled (default: a wave)
                         e.g. 'start=2024-05-01T08:00:00,rate=3,type=J,values=21.5/19/OL/19.2'
  --save-memory FILE     write the memory as a clean download of it would be saved, and exit

Download faults (blocks count from 0, the one with memory bytes 0 to 31; "first sending"
means the first in each download):
  --no-head-reply        never answer "HEAD"
  --head-length N        header reply cut to, or filled with blanks to, N bytes (not 26)
  --end-address HEX      report this end address instead of the memory's own, e.g. FFFF for
                         nothing recorded, 303A0 for 132001 bytes (more than the PC takes)
  --bad-sum K            block K's first sending has a wrong sum
  --bad-sum-always K     every sending of block K has a wrong sum
  --silent-after-block K send block K, then nothing more in that download
  --block-noise K        3 junk bytes (FF 02 AA) in the middle of block K's first sending
  --recording            (above) the meter is logging: the PC refuses to download
  --paced                every byte the meter sends takes 0.52 ms, as at 19200 baud

Setup ("O" answers the 86-byte setup record: type K, or J with --type-j; the clock is the
computer's local time at start and runs on; the memory texts follow the logger memory):
  --long-setup-reply     the setup record answered with 87 bytes, one too many
  --setup-echo-wrong-at N
                         every setup write echoed with byte N (0..15) of its frame changed;
                         the byte is still stored (the PC compares bytes 0 to 13)
  --refuse-setup-from ADDR
                         setup writes to ADDR (0x40..0x71, or decimal 64..113) and above are
                         neither stored nor echoed
  --clock-echo-wrong-start
                         the clock's echo differs from its frame in bytes 0 to 2 only (the PC
                         compares bytes 3 to 16); the clock is still set

  --help                 show this text

Standard input: one command a line, each answered with one line ("ok ..." or "error: ...").
End of input is ignored; the emulator runs on.
)";
    text += ConsoleHelpText();
    return text;
}

}  // namespace kr820::emulator
