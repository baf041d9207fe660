/* Sends a table through the serial port: code at 0, the table placed high,
   leaving a gap that a reader must fill with zeros. */
#include <8051.h>

__code __at(0x1F00) const unsigned char message[] = "KVR table at 1F00h, read back in order.";

void main(void) {
  unsigned char i;
  SCON = 0x50;
  TMOD = 0x20;
  TH1 = 0xFD;
  TR1 = 1;
  for (i = 0; message[i]; ++i) {
    SBUF = message[i];
    while (!TI)
      ;
    TI = 0;
  }
  for (;;)
    ;
}
