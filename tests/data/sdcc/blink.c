/* Toggles P1.0 with a software delay: a small program from address 0. */
#include <8051.h>

static void delay(unsigned int count) {
  while (count--)
    ;
}

void main(void) {
  for (;;) {
    P1_0 = !P1_0;
    delay(20000);
  }
}
